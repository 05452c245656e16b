#!/bin/busybox sh
# The virtual machine's first process: loads i2c-dev and i2c-stub, fills the
# stub chip with a battery's registers, runs vantrel against it case by case,
# then against the emulated USB-SMBus bridges through their kernel drivers
# and, for the CP2112, through hidraw with vantrel's own backend; sends
# every case's output, error output and bus trace to the host on the second
# serial port, and powers off.

/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev

RESULTS=/results
mkdir -p $RESULTS

# Everything before i2c-stub, dependencies first.
while read -r module; do
  insmod "/modules/$module" || echo "init: insmod $module failed" >>$RESULTS/init.log
done </modules/order

# Functionality masks (linux/i2c.h): the stub never offers plain I2C or PEC.
FUNC_WORDS=0x007f0000        # quick, byte, byte data, word data
FUNC_I2C_BLOCK=0x0c000000    # I2C block read and write
FUNC_SMBUS_BLOCK=0x03000000  # SMBus block read and write

BUS=""
load_stub() { # CHIP_ADDRESS FUNCTIONALITY
  rmmod i2c_stub 2>/dev/null
  insmod /modules/i2c-stub.ko chip_addr="$1" functionality="$2" || echo "init: i2c-stub $1 $2 failed" >>$RESULTS/init.log
  BUS=""
  for adapter in /sys/class/i2c-dev/i2c-*; do
    [ "$(cat "$adapter/name")" = "SMBus stub driver" ] && BUS="${adapter##*/i2c-}"
  done
  [ -n "$BUS" ] || echo "init: no i2c-stub bus" >>$RESULTS/init.log
  echo "/dev/i2c-$BUS" >$RESULTS/bus
}

word() { i2cset -y "$BUS" 0x0b "$1" "$2" w || echo "init: word $1 failed" >>$RESULTS/init.log; }
block() { # COMMAND BYTES...
  command="$1"
  shift
  i2cset -y "$BUS" 0x0b "$command" "$@" s || echo "init: block $command failed" >>$RESULTS/init.log
}

# A four-cell bq20z pack. Register 0x00 is left alone: the stub answers it
# with whatever was written to it last, as it does for every register.
fill_battery() {
  word 0x03 0x6081  # BatteryMode: ChgM AM CF ICC, capacities in mAh
  word 0x08 2982    # Temperature, 0.1 K
  word 0x09 16420   # Voltage
  word 0x0a 0xfe0c  # Current, -500 mA
  word 0x0c 3       # Max Error
  word 0x0d 85      # RelativeStateOfCharge
  word 0x0e 80      # AbsoluteStateOfCharge
  word 0x0f 3553    # RemainingCapacity
  word 0x10 4180    # FullChargeCapacity
  word 0x14 2200    # ChargingCurrent
  word 0x15 16800   # ChargingVoltage
  word 0x16 0x10e0  # BatteryStatus: OTA INIT DSG FC
  word 0x17 12      # CycleCount
  word 0x18 4400    # DesignCapacity
  word 0x19 14400   # DesignVoltage
  word 0x1a 0x0031  # SpecificationInfo
  word 0x1b 0x4ed5  # ManufactureDate 2019-06-21
  word 0x1c 0x2a17  # SerialNumber
  word 0x3b 4101    # cell 1
  word 0x3a 4102    # cell 2
  word 0x39 4103    # cell 3
  word 0x38 4104    # cell 4
  word 0x46 0x000c  # FET control: pre-charge and charge on, discharge off
  word 0xf0 0x1234
  word 0xf7 0x00ff
  word 0xff 0xbeef
  block 0x20 0x41 0x63 0x6d 0x65 0x20 0x43 0x65 0x6c 0x6c 0x73  # "Acme Cells"
  block 0x21 0x62 0x71 0x32 0x30 0x7a 0x34 0x35                 # "bq20z45"
  block 0x22 0x4c 0x49 0x4f 0x4e                                # "LION"
  block 0x60 0x14 0x04 0x72 0x36                                # unseal key
  block 0x61 0x21 0x43 0x65 0x87                                # full-access key
  block 0x62 0x73 0x26 0x12 0x17                                # PF key
  # The gauge-memory page: Qmax of cells 0-3 and of the pack (big-endian), update status at byte 12.
  block 0x78 0x10 0x68 0x10 0x6a 0x10 0x5e 0x10 0x62 0x10 0x5e 0x00 0x00 0x0e
}

run_case() { # NAME INPUT [TIMEOUT_SECONDS]
  dir=$RESULTS/$1
  mkdir -p "$dir"
  # A budget file as a successful open leaves it: no file error block.
  printf '\012\000' >"$dir/CountSRCHadp.bin"
  printf "$2" >"$dir/input"
  cd "$dir" || return
  if [ -n "$3" ]; then
    SMBUS_ADAPTER="i2c:/dev/i2c-$BUS" SMBUS_TRACE=trace timeout "$3" /vantrel <input >out 2>err
  else
    SMBUS_ADAPTER="i2c:/dev/i2c-$BUS" SMBUS_TRACE=trace /vantrel <input >out 2>err
  fi
  echo $? >rc
  cp $RESULTS/bus bus
  cd /
}

# 1: the menu and a full bq20z report over word and SMBus block transfers.
load_stub 0x0b $((FUNC_WORDS | FUNC_I2C_BLOCK | FUNC_SMBUS_BLOCK))
fill_battery
run_case report '1\n'

# 2: a word register scan near the end of the register space.
load_stub 0x0b $((FUNC_WORDS | FUNC_I2C_BLOCK | FUNC_SMBUS_BLOCK))
fill_battery
run_case wordscan 'Z\nF0\n'

# 3: PEC off with choice 6, on again with choice 5.
load_stub 0x0b $((FUNC_WORDS | FUNC_I2C_BLOCK | FUNC_SMBUS_BLOCK))
fill_battery
run_case pec '6\n5\n'

# 4: a block scan over SMBus block reads; i2c-stub refuses a block read of a
# register that never had a block written (EOPNOTSUPP).
load_stub 0x0b $((FUNC_WORDS | FUNC_I2C_BLOCK | FUNC_SMBUS_BLOCK))
word 0x0d 85
block 0xfe 0x4f 0x4b  # "OK"
run_case smbusblock 'X\nFD\n'

# 4a: no SMBus block reads: blocks come as I2C block reads, count byte first.
# The stub's I2C block read of register R returns the low bytes of registers
# R, R+1, ... up to 0xff, so each register's block is the tail of the one before.
load_stub 0x0b $((FUNC_WORDS | FUNC_I2C_BLOCK))
word 0x0d 85
i2cset -y "$BUS" 0x0b 0xfa 0x03 0x02 0x01 0x00 i || echo "init: i2c block failed" >>$RESULTS/init.log
run_case i2cblock 'X\nFA\n'

# 4b: neither SMBus nor I2C block reads.
load_stub 0x0b $FUNC_WORDS
word 0x0d 85
run_case noblock 'X\nFF\n'

# 5: no chip at the battery's address: the presence probe fails and retries
# once a second, 61 times; the run is cut short after the first attempts.
load_stub 0x0c $((FUNC_WORDS | FUNC_I2C_BLOCK | FUNC_SMBUS_BLOCK))
run_case nochip '1\n' 4

rmmod i2c_stub

# ---- USB-SMBus bridges through their kernel drivers (hid-cp2112,
# hid-mcp2221), each chip emulated over uhid by /bin/hid-bridge with a
# battery at 0x0B. Every case runs twice: on the simulated battery holding the
# same registers (sim), then through the chip (chip).

BRIDGE=""
start_bridge() { # CHIP REGISTERS|none BUS_NAME_START
  /bin/hid-bridge "$1" "$2" /tmp/hid-reports 2>>$RESULTS/bridge.log &
  BRIDGE=$!
  BUS=""
  tries=0
  while [ -z "$BUS" ] && [ $tries -lt 60 ]; do
    for name in /sys/bus/i2c/devices/i2c-*/name; do
      case "$(cat "$name" 2>/dev/null)" in
        "$3"*) bus=${name%/name} && BUS=${bus##*/i2c-} ;;
      esac
    done
    [ -n "$BUS" ] && [ -e "/dev/i2c-$BUS" ] || { BUS="" && sleep 1 && tries=$((tries + 1)); }
  done
  [ -n "$BUS" ] || echo "init: no bus of $1 ($3)" >>$RESULTS/init.log
  # The MCP2221 driver's set-up loses the first transfer after the chip
  # appears (a program's presence probe retries it): spent here, so that
  # every case's trace can be compared.
  i2cget -y "$BUS" 0x0b 0x0d w >/dev/null 2>&1
}
stop_bridge() { kill "$BRIDGE" && wait "$BRIDGE"; }

centiseconds() { read -r up _ </proc/uptime && echo "${up%.*}${up#*.}"; }

bridge_case() { # NAME PROFILE ARGUMENTS...
  local name=$1 profile=$2 side adapter start
  shift 2
  for side in sim chip; do
    dir=$RESULTS/bridge/$name/$side
    mkdir -p "$dir"
    cd "$dir" || return
    adapter="sim:$profile"
    [ $side = sim ] || adapter="${CHIP_ADAPTER:-i2c:/dev/i2c-$BUS}"
    read -r out_before in_before </tmp/hid-reports
    start=$(centiseconds)
    SMBUS_TRACE=trace /vantrel "$@" --adapter "$adapter" </dev/null >out 2>err
    echo $? >rc
    echo $(($(centiseconds) - start)) >time
    read -r out_after in_after </tmp/hid-reports
    echo $((out_after - out_before)) $((in_after - in_before)) >reports
    [ ! -f backup.bin ] || sha256sum backup.bin >image
    cd /
  done
}

# Both PEC settings of a case.
bridge_cases() { # NAME PROFILE ARGUMENTS...
  local name=$1 profile=$2
  shift 2
  bridge_case "$name-pec" "$profile" "$@"
  bridge_case "$name-no-pec" "$profile" "$@" --no-pec
}

start_bridge cp2112 /battery.regs "CP2112 SMBus Bridge"
for family in bq20z bq30z bq40z bq9000; do
  bridge_cases "cp2112-report-$family" /battery.json report $family
done
bridge_cases cp2112-read-json /battery.json read --json
bridge_cases cp2112-dump /battery.json dump --output backup.bin --yes
# The same chip through hidraw and vantrel's own CP2112 backend (hidapi),
# with the kernel's driver still bound. devtmpfs makes the hidraw node; it is
# made from sysfs where it did not.
for device in /sys/class/hidraw/hidraw*; do
  [ -e "/dev/${device##*/}" ] || mknod "/dev/${device##*/}" c "$(cut -d: -f1 "$device/dev")" "$(cut -d: -f2 "$device/dev")"
done
CHIP_ADAPTER=cp2112
for family in bq20z bq30z bq40z bq9000; do
  bridge_case "hidraw-report-$family-pec" /battery.json report $family
done
bridge_case hidraw-report-bq40z-no-pec /battery.json report bq40z --no-pec
bridge_case hidraw-dump-pec /battery.json dump --output backup.bin --yes
CHIP_ADAPTER=""
stop_bridge
start_bridge cp2112 /long-name.regs "CP2112 SMBus Bridge"
bridge_cases cp2112-long-name /long-name.json read
stop_bridge
start_bridge cp2112 none "CP2112 SMBus Bridge"
bridge_cases cp2112-absent absent read
stop_bridge

# The MCP2221's driver is the slower one: fewer cases.
start_bridge mcp2221 /battery.regs "MCP2221 usb-i2c bridge"
bridge_cases mcp2221-read-json /battery.json read --json
bridge_case mcp2221-report-bq40z-no-pec /battery.json report bq40z --no-pec
bridge_case mcp2221-dump-no-pec /battery.json dump --output backup.bin --yes --no-pec
stop_bridge
start_bridge mcp2221 /long-name.regs "MCP2221 usb-i2c bridge"
bridge_case mcp2221-long-name-no-pec /long-name.json read --no-pec
stop_bridge
start_bridge mcp2221 none "MCP2221 usb-i2c bridge"
bridge_case mcp2221-absent-pec absent read
stop_bridge

echo done >$RESULTS/complete
stty -F /dev/ttyS1 raw -echo 2>/dev/null
{
  echo "=== vantrel results begin ==="
  tar -C $RESULTS -cf - . | base64
  echo "=== vantrel results end ==="
} >/dev/ttyS1
sync
poweroff -f
