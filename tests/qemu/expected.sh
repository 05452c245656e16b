# What vantrel must write in each case that tests/qemu/init.sh runs, composed
# from the program's screen texts and the register values that init.sh gives
# the i2c-stub chip. Sourced by tests/qemu/vm_test.sh.
#
# Colour is off (standard output is a file), so a clear screen is a form
# feed; the runner shows each form feed as "<CLS>".
#
# i2c-stub is a plain register file: it answers every word register with the
# value last written to it (0 when never written) and every block with the
# block last written. It knows nothing of manufacturer access or subclass
# selections, so a read of register 0x00 returns the subcommand just written
# there, and block 0x78 returns the same page for every subclass.

l() { printf '%s\n' "$@"; }
dashes() { printf '%*s' "$1" '' | tr ' ' '-'; }

startup() { l "<CLS> Program run NAME = vantrel"; }

# Adapter discovery: the attempt header and the success block. The i2c-dev
# adapter reports version 1.0.0.
discovery() {
  printf '<CLS>'
  l "$(dashes 52)" "               Vantrel" "" "                      PAUSE..." ""
  l "$(dashes 52)" "          SMBusb Firmware Version: 1.0.0" "$(dashes 52)" ""
}

# The presence probe clears the screen, then succeeds silently.
probe_ok() { printf '<CLS>'; }

menu() { # READ_0D_HEX
  l " Read 0x0d = $1" " PEC = 1"
  l "$(dashes 40)" "         Vantrel" "" "$(dashes 40)" "            SELECT AN ACTION" "$(dashes 40)" ""
  l "   1. READ bq20zXXX Info" ""
  l "   2. READ bq30zXXX Info" ""
  l "   3. READ bq40zXXX Info" ""
  l "   4. READ bq9000/8050/8055/8030/" ""
  l "      /m37512... and other Info" ""
  l "$(dashes 39)" ""
  l "   5. PEC = ON" ""
  l "   6. PEC = OFF" ""
  l "$(dashes 39)" ""
  l "   Z. TEST Read WORD from 0x00 to 0xFF" ""
  l "   Y. Read WORD Reg[00] : " ""
  l "   Write[00WW] => [00]:WW = 0x00 to 0xFF" ""
  l "$(dashes 40)" ""
  l "   X. TEST Read BLOCK from 0x00 to 0xFF" ""
  l "   B. Read Block Reg[23] : " ""
  l "  Write[00WW] => [00]:WW = 0x00 to 0xFF" ""
  l "$(dashes 40)" ""
  l "   0. EXIT" ""
  l "$(dashes 40)" ""
  printf '        YOUR CHOICE: '
}

pause() { l "Press any key to continue . . . "; }

# A menu cycle on the filled chip (state of charge 85), then the menu.
cycle() { discovery; probe_ok; menu 0055; }

# ---- bus trace pieces ----

trace_open() { l "open 04b4 8613 -> 1" "id -> 5067605"; }
trace_probe() { # WORD_00
  l "rw 00 -> $1" "sleep 1" "rw 0d -> 85" "sleep 1"
}
trace_cycle() { # WORD_00
  trace_open
  trace_probe "$1"
  l "pec 1" "sleep 5" "rw 0d -> 85"
}

# ---- case 1: menu, choice 1, menu again for the line end ----

report_screen() {
  l "<CLS> PEC = 1"
  l " Read 0x0d:............... 0055 Hex"
  l "$(dashes 39)" "         Vantrel_bq20zXX" "           READ Battery Info" "$(dashes 39)"
  l " Design Capacity:            4400 mAh"
  l " Full Charge Capacity:...... 4180 mAh"
  l " Cycle Count:                12"
  l " Manufacture Date:..... 4ed5 2019.06.21"
  l " Design Voltage:             14400 mV"
  l " Manufacturer Name:......... Acme Cells"
  l " Device Name:                bq20z45"
  l " Serial Number:............. 2A17 Hex"
  l " Charging Voltage:           16800 mV"
  l " Charging Current:.......... 2200 mA"
  l " Device Chemistry:           LION"
  l " Temperature:............... 25.05 C"
  l " Voltage:                    16420 mV"
  l " Current:................... -500 mA"
  l " RelativeSOC                 85 %"
  l " AbsoluteSOC................ 80 %"
  l " Remaining Capacity:         3553 mAh"
  # Cells in words 0x3B (cell 1) to 0x38 (cell 4): 16410 mV against 16420, the first candidate.
  l " Word 38  VCELL 4:........... 4104 mV"
  l " Word 39  VCELL 3:            4103 mV"
  l " Word 3A  VCELL 2:........... 4102 mV"
  l " Word 3B  VCELL 1:            4101 mV"
  l " Specification Info:........ 0031 Hex"
  l "$(dashes 38)"
  l " Battery Status (0x16):..... 10E0 Hex" " OTA INIT DSG FC" "$(dashes 39)"
  l " BatteryMode (0x03):........ 6081 Hex" " ChgM AM CF ICC" "$(dashes 38)"
  # Operation Status is the subcommand 0x0054 read back: DSG, XDSGI and
  # R_DIS, and neither FAS nor SS, so the stub counts as full access.
  l " Operation Status (0x54):... 0054 Hex" " DSG XDSGI R_DIS"
  l "$(dashes 38)" " Device.................. Full Access" "$(dashes 38)"
  l " UnSeal: .... Key-1 Key-2 .. 0414 3672"
  l " Full-Access: Key-1 Key-2 .. 4321 8765"
  l " PF Key: .... Key-1 Key-2 .. 2673 1712"
  l "$(dashes 38)"
  # Safety, PF and Charging Status: their own subcommands read back.
  l " Safety Status (0x51):...... 0051 Hex" " COV HWDG SCD" "$(dashes 37)"
  l " PF Status (0x53):.......... 0053 Hex" " DFETF CIM_R SOV PFIN" "$(dashes 37)"
  l " Charging Status (0x55):.... 0055 Hex" " CB FCMTO OCHGI XCHGLV" "$(dashes 37)"
  l " FET-Control (0x46):........ 0c Hex" " FET = Pre-CHG=ON CHG=ON DHG=OFF" "$(dashes 38)"
  l " Max Error:                  3 %"
  l " Update Status: ............ 14"
  l " Qmax Cell-0:                4200 mah"
  l " Qmax Cell-1: .............. 4202 mah"
  l " Qmax Cell-2:                4190 mah"
  l " Qmax Cell-3: .............. 4194 mah"
  l " Qmax Pack:                  4190 mah"
  l "$(dashes 37)"
  # Every R_a page is the one block 0x78 holds: its first word, 0x1068.
  l " Cell-0 R_a flag:            1068"
  l " Cell-1 R_a flag:            1068"
  l " Cell-2 R_a flag:            1068"
  l " Cell-3 R_a flag:            1068"
  l "$(dashes 37)"
  # The version words are the subcommands read back.
  l " Device Type:     (0x0001):. 0001 Hex"
  l " Firmware Version:(0x0002):. 0002 Hex"
  l " Hardware Version:(0x0003):. 0003 Hex"
  l " Chemisry ID:(0x0008):...... 0008 Hex"
  l "$(dashes 37)"
  # (4400 - 4180) * 100 / 4400 = 5
  l " Delta-Capacity (DesCap-FCC):    -5 %      "
  l "$(dashes 39)"
}

expected_report_out() {
  startup
  cycle
  discovery
  probe_ok
  report_screen
  pause
  cycle  # the line end after the choice
  cycle  # the end of input, which ends the program
}

trace_page() { l "rb 78 -> 13 10 68 10 6a 10 5e 10 62 10 5e 00 00 0e" "sleep 3"; }
trace_subcommand() { l "ww 00 $1" "sleep 1" "rw 00 -> $2" "sleep 1"; }

expected_report_trace() {
  trace_cycle 0
  trace_open
  trace_probe 0
  l "rw 0d -> 85" "rw 03 -> 24705" "sleep 1"
  l "rw 18 -> 4400" "sleep 1" "rw 10 -> 4180" "sleep 1" "rw 17 -> 12" "sleep 1"
  l "rw 1b -> 20181" "rw 19 -> 14400" "sleep 1"
  l "rb 20 -> 10 41 63 6d 65 20 43 65 6c 6c 73" "sleep 2"
  l "rb 21 -> 7 62 71 32 30 7a 34 35" "sleep 2"
  l "rw 1c -> 10775" "sleep 1" "rw 15 -> 16800" "sleep 1" "rw 14 -> 2200" "sleep 1"
  l "rb 22 -> 4 4c 49 4f 4e" "sleep 2"
  l "rw 08 -> 2982" "sleep 1" "rw 09 -> 16420" "sleep 1" "rw 0a -> 65036" "sleep 1"
  l "rw 0d -> 85" "rw 0e -> 80" "rw 0f -> 3553"
  l "rw 09 -> 16420" "rw 3b -> 4101" "rw 3a -> 4102" "rw 39 -> 4103" "rw 38 -> 4104"
  l "rw 1a -> 49"
  l "rw 16 -> 4320" "sleep 1" "rw 03 -> 24705" "sleep 1"
  trace_subcommand 0054 84
  trace_subcommand 0054 84
  l "rb 60 -> 4 14 04 72 36" "sleep 3" "rb 61 -> 4 21 43 65 87" "sleep 3" "rb 62 -> 4 73 26 12 17" "sleep 3"
  l "ww 00 0051" "rw 00 -> 81" "sleep 1"
  l "ww 00 0053" "rw 00 -> 83" "sleep 1"
  l "ww 00 0055" "rw 00 -> 85" "sleep 1"
  l "rw 46 -> 12"
  l "rw 0c -> 3" "sleep 1"
  for subclass in 0052 0058 0059 005a 005b; do
    l "ww 77 $subclass" "sleep 1"
    trace_page
  done
  trace_subcommand 0001 1
  trace_subcommand 0002 2
  trace_subcommand 0003 3
  trace_subcommand 0008 8
  l "rw 18 -> 4400" "rw 10 -> 4180"
  # Register 0x00 still holds the last subcommand written.
  trace_cycle 8
  trace_cycle 8
  l "close"
}

# Every run that switches PEC on says once that the stub has no PEC.
expected_stub_err() { l "vantrel: $1: the adapter has no PEC and no plain I2C transfers; going on without PEC"; }

# ---- shared parts of the register scans ----

scan_head() { # TITLE
  l "<CLS> PEC = 1" "$(dashes 49)" "                Vantrel_FM3DXY" "$1" "$(dashes 49)"
  l " RW 72 = 0000"
}
scan_entry() {
  l "        Enter First Registr to read in HEX" "" "               Format in HEX : 23"
  printf '            Enter your value : '
  l "$(dashes 49)"
}

# ---- case 2: word scan from F0 ----

expected_wordscan_out() {
  startup
  cycle
  discovery
  probe_ok
  scan_head "     Test READ-WORD from 0x00 to 0xFF registr"
  l "$(dashes 49)" "          DEVICE starting in Normal-mode" "$(dashes 49)"
  scan_entry
  # Every register answers: the stub gives 0 for registers never written.
  local values=(1234 0000 0000 0000 0000 0000 0000 00FF 0000 0000 0000 0000 0000 0000 0000 BEEF)
  local i
  for i in $(seq 0 15); do
    l " Read-WORD From 0x$(printf '%02x' $((0xf0 + i))) = ${values[$i]}" ""
  done
  l "$(dashes 49)" "  Test READ-WORD from 0xF0 to 0xFF registr Done!" "$(dashes 49)" ""
  pause
  cycle  # the line end after the choice
  cycle  # the end of input, which ends the program
}

expected_wordscan_trace() {
  trace_cycle 0
  trace_open
  trace_probe 0
  l "rw 72 -> 0" "sleep 1"
  local values=(4660 0 0 0 0 0 0 255 0 0 0 0 0 0 0 48879)
  local i
  for i in $(seq 0 15); do
    l "rw $(printf '%02x' $((0xf0 + i))) -> ${values[$i]}" "sleep 1"
  done
  trace_cycle 0
  trace_cycle 0
  l "close"
}

# ---- case 3: PEC off (6) and on (5) ----

pec_confirmation() { # ON|OFF
  l "<CLS>$(dashes 40)" "" "        SMB Enable-PEC $1 DONE !!!" "" "$(dashes 40)" ""
}

expected_pec_out() {
  startup
  cycle
  pec_confirmation "OFF"
  pause
  cycle  # the line end after "6"
  cycle
  pec_confirmation "ON"
  pause
  cycle  # the line end after the choice
  cycle  # the end of input, which ends the program
}

expected_pec_trace() {
  trace_cycle 0
  l "pec 0" "sleep 5"
  # The checks of the next cycle run with PEC off and still read the chip.
  trace_cycle 0
  trace_cycle 0
  l "pec 1" "sleep 5"
  trace_cycle 0
  trace_cycle 0
  l "close"
}

# ---- case 4a: block scan over I2C block reads ----

block_scan_head() {
  scan_head "     Test READ-BLOCK from 0x00 to 0xFF registr"
  l "$(dashes 49)" "" "          DEVICE starting in Normal-mode" "" "$(dashes 49)" ""
  scan_entry
}

expected_i2cblock_out() {
  startup
  cycle
  discovery
  probe_ok
  block_scan_head
  # Register 0xFA holds 03 02 01 00: a 3-byte block. Each following
  # register starts one byte further on, so its count is the byte before.
  l " Read-BLOCK from 0xfa : 3 byte" " Block: 02 01 00"
  l " Read-BLOCK from 0xfb : 2 byte" " Block: 01 00"
  l " Read-BLOCK from 0xfc : 1 byte" " Block: 00"
  l " Read-BLOCK from 0xfd : 0 byte" " Block:"
  l " Read-BLOCK from 0xfe : 0 byte" " Block:"
  l " Read-BLOCK from 0xff : 0 byte" " Block:"
  l "$(dashes 51)" "  Test READ-BLOCK from 0xFA to 0xFF registr Done!" "$(dashes 51)" ""
  pause
  cycle  # the line end after the choice
  cycle  # the end of input, which ends the program
}

expected_i2cblock_trace() {
  trace_cycle 0
  trace_open
  trace_probe 0
  l "rw 72 -> 0" "sleep 1"
  l "rb fa -> 3 02 01 00" "sleep 30"
  l "rb fb -> 2 01 00" "sleep 30"
  l "rb fc -> 1 00" "sleep 30"
  l "rb fd -> 0" "sleep 30" "rb fe -> 0" "sleep 30" "rb ff -> 0" "sleep 30"
  trace_cycle 0
  trace_cycle 0
  l "close"
}

# ---- case 4: block scan over SMBus block reads ----

expected_smbusblock_out() {
  startup
  cycle
  discovery
  probe_ok
  block_scan_head
  # Registers 0xFD and 0xFF never had a block: "not supported", -15.
  l " Read-BLOCK from 0xfd : 4294967281 byte" " Block:"
  l " Read-BLOCK from 0xfe : 2 byte" " Block: 4F 4B"
  l " Read-BLOCK from 0xff : 4294967281 byte" " Block:"
  l "$(dashes 51)" "  Test READ-BLOCK from 0xFD to 0xFF registr Done!" "$(dashes 51)" ""
  pause
  cycle  # the line end after the choice
  cycle  # the end of input, which ends the program
}

expected_smbusblock_trace() {
  trace_cycle 0
  trace_open
  trace_probe 0
  l "rw 72 -> 0" "sleep 1"
  l "rb fd -> -15" "sleep 30" "rb fe -> 2 4f 4b" "sleep 30" "rb ff -> -15" "sleep 30"
  trace_cycle 0
  trace_cycle 0
  l "close"
}

# ---- case 4b: no block reads at all: the backend's "not supported", -15 ----

expected_noblock_out() {
  startup
  cycle
  discovery
  probe_ok
  block_scan_head
  l " Read-BLOCK from 0xff : 4294967281 byte" " Block:"
  l "$(dashes 51)" "  Test READ-BLOCK from 0xFF to 0xFF registr Done!" "$(dashes 51)" ""
  pause
  cycle  # the line end after the choice
  cycle  # the end of input, which ends the program
}

expected_noblock_trace() {
  trace_cycle 0
  trace_open
  trace_probe 0
  l "rw 72 -> 0" "sleep 1"
  l "rb ff -> -15" "sleep 30"
  trace_cycle 0
  trace_cycle 0
  l "close"
}

# ---- case 5: no chip at 0x0B; only the start of the run is compared ----

no_battery() { # COUNTER
  l "$(dashes 39)"
  l " ManufAccess:............. FFFFFFF7 Hex" ""
  l " Read 0x0d:............... FFFFFFF7 Hex"
  l "$(dashes 39)"
  l "       NO Read SMBus Device..." ""
  l "      Please Connect DEVICE !!!" ""
  l "          Read Number $1 ..."
  l "$(dashes 39)"
}

expected_nochip_out_start() {
  startup
  discovery
  probe_ok
  no_battery 60
  discovery
  probe_ok
  no_battery 59
}

expected_nochip_trace_start() {
  trace_open
  l "rw 00 -> -9" "sleep 1" "rw 0d -> -9" "sleep 1" "sleep 1000" "beep 800 100"
  trace_open
  l "rw 00 -> -9" "sleep 1" "rw 0d -> -9" "sleep 1" "sleep 1000"
}
