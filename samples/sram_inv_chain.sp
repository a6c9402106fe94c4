6T SRAM cell with an inverter-chain word-line driver
* ------------------------------------------------------------------
* Transient test of a single 6T cell: write a 1, read it back, write
* a 0. The word line is driven through a four-stage inverter chain.
* Process: generic 180 nm, VDD = 1.8 V, T = 27 C.
* ------------------------------------------------------------------

.option post=2 accurate probe nomod
.param vsupply=1.8 wn=0.42u wp=0.84u lmin=0.18u
.param tr=50p tcycle=4n
.temp 27

.include "models_180nm.lib"
.lib "corners_180nm.lib" tt

* ---- device models (level 1, hand-calibrated) ----
.model nch NMOS (level=1 vto=0.45 kp=170u gamma=0.45 phi=0.8
+                lambda=0.06 tox=4.1n cgso=0.3n cgdo=0.3n cj=1m)
.model pch PMOS (level=1 vto=-0.45 kp=45u gamma=0.40 phi=0.8
+                lambda=0.08 tox=4.1n cgso=0.3n cgdo=0.3n cj=1.1m)

* ---- a static CMOS inverter ----
.subckt inv in out vdd gnd wn=0.42u wp=0.84u
Mp out in vdd vdd pch w=wp l=lmin ad='wp*0.5u' as='wp*0.5u'
Mn out in gnd gnd nch w=wn l=lmin ad='wn*0.5u' as='wn*0.5u'
.ends inv

* ---- word-line driver: four stages, fan-out of three ----
.subckt wldrv in wl vdd gnd
X1 in  n1 vdd gnd inv wn=0.42u wp=0.84u
X2 n1  n2 vdd gnd inv wn=1.26u wp=2.52u
X3 n2  n3 vdd gnd inv wn=3.78u wp=7.56u
X4 n3  wl vdd gnd inv wn=11.3u wp=22.7u
Cwire wl gnd 45f          $ word-line wire load
.ends wldrv

* ---- the 6T cell: cross-coupled inverters and two pass gates ----
.subckt sram6t bl blb wl vdd gnd
Mpu1 q  qb vdd vdd pch w=0.28u l=lmin
Mpd1 q  qb gnd gnd nch w=0.56u l=lmin
Mpu2 qb q  vdd vdd pch w=0.28u l=lmin
Mpd2 qb q  gnd gnd nch w=0.56u l=lmin
Max1 bl  wl q  gnd nch w=0.42u l=lmin  ; access transistor, true side
Max2 blb wl qb gnd nch w=0.42u l=lmin  ; access transistor, complement side
.ends sram6t

* ---- test bench ----
Vdd vdd 0 vsupply
Vss gnd 0 0
Vwl wlin 0 pulse(0 vsupply 0.5n tr tr 1n tcycle)
Vbl bl 0 pwl(0 vsupply 4n vsupply 4.05n 0 8n 0)
Vblb blb 0 pwl(0 0 4n 0 4.05n vsupply 8n vsupply)

Xdrv wlin wl vdd gnd wldrv
Xcell bl blb wl vdd gnd sram6t
Cbl bl gnd 120f
Cblb blb gnd 120f

.ic v(xcell.q)=0 v(xcell.qb)=1.8
.tran 5p 12n uic

.meas tran t_wl   trig v(wlin) val=0.9 rise=1 targ v(wl) val=0.9 fall=1
.meas tran t_flip trig v(wl) val=0.9 rise=1 targ v(xcell.q) val=0.9 rise=1
.meas tran i_avg  avg i(vdd) from=0 to=12n
.probe v(wl) v(bl) v(blb) v(xcell.q) v(xcell.qb)
.print tran v(xcell.q) v(xcell.qb)
.end
