// Gate-level netlist of the UART transmitter after synthesis
// (hand-trimmed to a few cells for the editor's samples).
`timescale 1ns/1ps
`define TX_WIDTH 8

module uart_tx ( clk, rst_n, tx_start, tx_data, tx_busy, tx_out );
  input clk, rst_n, tx_start;
  input [`TX_WIDTH-1:0] tx_data;
  output tx_busy, tx_out;

  wire \shift_reg[0] , \shift_reg[1] , \bit_cnt[3] ;
  wire n12, n13, n14;
  supply0 VSS;
  supply1 VDD;

  /* the state flops */
  DFFRX1 \state_reg[0]  ( .D(n12), .CK(clk), .RN(rst_n), .Q(tx_busy) );
  DFFRX1 \shift_reg_reg[0]  ( .D(tx_data[0]), .CK(clk), .RN(rst_n), .Q(\shift_reg[0] ) );
  NAND2X1 U21 ( .A(tx_start), .B(\bit_cnt[3] ), .Y(n13) );
  INVX1 U22 ( .A(n13), .Y(n14) );
  AOI21X1 U23 ( .A0(n14), .A1(\shift_reg[0] ), .B0(tx_busy), .Y(n12) );
  assign tx_out = tx_busy ? \shift_reg[1]  : 1'b1;

  // behavioural check, removed by synthesis
  initial begin
    if (`TX_WIDTH != 8) $display("unexpected width %d", `TX_WIDTH);
    #10 $finish;
  end
endmodule
