# Timing constraints of the UART block
set sdc_version 2.1
set clk_period 10.0
set io_ports [get_ports {tx_start tx_data[*]}]

create_clock -name clk -period $clk_period -waveform {0 5} [get_ports clk]
set_clock_uncertainty 0.25 [get_clocks clk]
set_clock_transition 0.1 [get_clocks clk]

set_input_delay  [expr {$clk_period * 0.4}] -clock clk $io_ports
set_output_delay 2.0 -clock clk [get_ports tx_out] ;# budget of the pad
set_load 0.05 [all_outputs]
set_driving_cell -lib_cell INVX1 -pin Y [all_inputs]

# the reset is asynchronous
set_false_path -from [get_ports rst_n]

proc report_io {ports} {
  foreach p $ports {
    puts "port: [get_object_name $p]"
  }
}
