#include "tests/fakes/fake_i2c_kernel.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdarg>
#include <vector>

extern "C" {
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
}

#include "link/i2c/pec.h"

extern "C" int __real_ioctl(int fd, unsigned long request, ...);

namespace testing_support {

namespace {

constexpr int kGaugeAddress = 0x0B;
constexpr int kBlockWriteCommand = 0x44;

struct Registration {
  dev_t device = 0;
  ino_t inode = 0;
  FakeBus* bus = nullptr;
};
Registration registered;

FakeBus* BusOf(int fd) {
  struct stat st {};
  if (registered.bus == nullptr || fstat(fd, &st) != 0) return nullptr;
  return st.st_dev == registered.device && st.st_ino == registered.inode ? registered.bus : nullptr;
}

int Fail(int error) {
  errno = error;
  return -1;
}

// The gauge's answer as the bus returns it: a NACK for the program's "no
// answer" code, an I/O error for any other code.
int GaugeError(int code) { return Fail(code == -9 ? ENXIO : EIO); }

std::uint8_t W8(int a) { return static_cast<std::uint8_t>(a << 1); }
std::uint8_t R8(int a) { return static_cast<std::uint8_t>((a << 1) | 1); }

int SmbusCall(FakeBus& bus, int address, i2c_smbus_ioctl_data& call) {
  ++bus.smbus_calls;
  if (address != kGaugeAddress || bus.gauge_absent) return Fail(bus.absent_error);
  if (bus.pec && bus.corrupt_pec && call.read_write == I2C_SMBUS_READ) return Fail(EBADMSG);
  i2c_smbus_data& data = *call.data;
  const int a8 = W8(address);
  switch (call.size) {
    case I2C_SMBUS_WORD_DATA:
      if (!(bus.functions & I2C_FUNC_SMBUS_READ_WORD_DATA)) return Fail(EOPNOTSUPP);
      if (call.read_write == I2C_SMBUS_WRITE) {
        bus.gauge->WriteWord(a8, call.command, data.word);
        return 0;
      } else {
        const int r = bus.gauge->ReadWord(a8, call.command);
        if (r < 0) return GaugeError(r);
        data.word = static_cast<__u16>(r);
        return 0;
      }
    case I2C_SMBUS_BLOCK_DATA: {
      if (call.read_write == I2C_SMBUS_WRITE) {
        if (!(bus.functions & I2C_FUNC_SMBUS_WRITE_BLOCK_DATA)) return Fail(EOPNOTSUPP);
        if (data.block[0] > I2C_SMBUS_BLOCK_MAX) return Fail(EINVAL);
        bus.gauge->WriteBlock(a8, call.command, data.block + 1, data.block[0]);
        return 0;
      }
      if (!(bus.functions & I2C_FUNC_SMBUS_READ_BLOCK_DATA)) return Fail(EOPNOTSUPP);
      std::vector<std::uint8_t> reply;
      const int r = bus.gauge->ReadBlock(a8, call.command, reply);
      if (r < 0) return GaugeError(r);
      if (bus.broken_smbus_blocks) return Fail(EIO);
      if (bus.truncated_smbus_blocks) {
        data.block[0] = static_cast<__u8>(reply.size());
        std::copy(reply.begin(), reply.begin() + std::min<std::ptrdiff_t>(std::ssize(reply), 31), data.block + 1);
        return 0;
      }
      if (reply.size() > I2C_SMBUS_BLOCK_MAX) return Fail(EPROTO);  // the kernel's block limit
      data.block[0] = static_cast<__u8>(reply.size());
      std::copy(reply.begin(), reply.end(), data.block + 1);
      return 0;
    }
    case I2C_SMBUS_I2C_BLOCK_BROKEN:  // what libi2c asks for a 32-byte read; the kernel takes it as 32
      data.block[0] = I2C_SMBUS_BLOCK_MAX;
      [[fallthrough]];
    case I2C_SMBUS_I2C_BLOCK_DATA: {
      if (call.read_write == I2C_SMBUS_WRITE || !(bus.functions & I2C_FUNC_SMBUS_READ_I2C_BLOCK)) {
        return Fail(EOPNOTSUPP);
      }
      // Raw bytes as the gauge sends them: count, data, then the bus idles high.
      std::vector<std::uint8_t> reply;
      const int r = bus.gauge->ReadBlock(a8, call.command, reply);
      if (r < 0) return GaugeError(r);
      std::vector<std::uint8_t> raw{static_cast<std::uint8_t>(reply.size())};
      raw.insert(raw.end(), reply.begin(), reply.end());
      const int length = std::min<int>(data.block[0], I2C_SMBUS_BLOCK_MAX);
      raw.resize(static_cast<std::size_t>(std::max<int>(length, static_cast<int>(raw.size()))), 0xFF);
      std::copy(raw.begin(), raw.begin() + length, data.block + 1);
      return 0;
    }
    default:
      return Fail(EOPNOTSUPP);
  }
}

// A plain write: [command, payload..., optional PEC]; the gauge NACKs a bad PEC.
int PlainWrite(FakeBus& bus, int address, const i2c_msg& message) {
  const std::uint8_t* b = message.buf;
  const std::size_t length = message.len;
  if (length < 1) return 0;
  const int command = b[0];
  const std::size_t payload = command == kBlockWriteCommand && length >= 2 ? 1u + b[1] : 2u;
  if (length < 1 + payload) return Fail(EIO);
  if (length > 1 + payload && smb::i2c::Pec(smb::i2c::Pec(0, {W8(address)}), b, 1 + payload) != b[1 + payload]) {
    return Fail(ENXIO);
  }
  if (command == kBlockWriteCommand) {
    bus.gauge->WriteBlock(W8(address), command, b + 2, b[1]);
  } else {
    bus.gauge->WriteWord(W8(address), command, b[1] | (b[2] << 8));
  }
  return 0;
}

// A write of the command, then a read: short reads are words, longer ones blocks.
int PlainRead(FakeBus& bus, int address, const i2c_msg& write, i2c_msg& read) {
  ++bus.reads_with_rdwr;
  const int command = write.buf[0];
  std::vector<std::uint8_t> stream;
  if (read.len <= 3) {
    const int r = bus.gauge->ReadWord(W8(address), command);
    if (r < 0) return GaugeError(r);
    stream = {static_cast<std::uint8_t>(r & 0xFF), static_cast<std::uint8_t>(r >> 8)};
  } else {
    std::vector<std::uint8_t> reply;
    const int r = bus.gauge->ReadBlock(W8(address), command, reply);
    if (r < 0) return GaugeError(r);
    stream.push_back(static_cast<std::uint8_t>(reply.size()));
    stream.insert(stream.end(), reply.begin(), reply.end());
  }
  std::uint8_t pec = smb::i2c::Pec(smb::i2c::Pec(0, {W8(address), write.buf[0], R8(address)}), stream.data(),
                                   stream.size());
  if (bus.corrupt_pec) pec ^= 0x5A;
  stream.push_back(pec);
  stream.resize(std::max<std::size_t>(stream.size(), read.len), 0xFF);
  std::copy(stream.begin(), stream.begin() + read.len, read.buf);
  return 0;
}

int PlainTransfer(FakeBus& bus, i2c_rdwr_ioctl_data& transfer) {
  if (!(bus.functions & I2C_FUNC_I2C)) return Fail(EOPNOTSUPP);
  i2c_msg* m = transfer.msgs;
  if (m[0].addr != kGaugeAddress || bus.gauge_absent) return Fail(bus.absent_error);
  if (transfer.nmsgs == 1 && !(m[0].flags & I2C_M_RD)) return PlainWrite(bus, m[0].addr, m[0]);
  if (transfer.nmsgs == 2 && !(m[0].flags & I2C_M_RD) && (m[1].flags & I2C_M_RD) && m[0].len == 1) {
    return PlainRead(bus, m[0].addr, m[0], m[1]);
  }
  return Fail(EOPNOTSUPP);
}

int selected_address = -1;

}  // namespace

FakeI2cDevice::FakeI2cDevice(const std::filesystem::path& device, unsigned long functions,
                             const std::string& profile_json) {
  bus_.functions = functions;
  bus_.gauge = std::make_unique<smb::sim::SimAdapter>(smb::sim::ParseProfile(profile_json, "fake"), false);
  struct stat st {};
  stat(device.c_str(), &st);
  registered = Registration{st.st_dev, st.st_ino, &bus_};
  selected_address = -1;
}

FakeI2cDevice::~FakeI2cDevice() { registered = Registration{}; }

}  // namespace testing_support

using testing_support::BusOf;
using testing_support::FakeBus;

extern "C" int __wrap_ioctl(int fd, unsigned long request, ...) {
  va_list args;
  va_start(args, request);
  const unsigned long argument = va_arg(args, unsigned long);
  va_end(args);
  FakeBus* bus = BusOf(fd);
  if (bus == nullptr) return __real_ioctl(fd, request, argument);
  using namespace testing_support;
  switch (request) {
    case I2C_FUNCS:
      *reinterpret_cast<unsigned long*>(argument) = bus->functions;
      return 0;
    case I2C_SLAVE:
    case I2C_SLAVE_FORCE:
      if (argument > 0x7F) return Fail(EINVAL);
      if (request == I2C_SLAVE && bus->address_busy && argument == kGaugeAddress) return Fail(EBUSY);
      selected_address = static_cast<int>(argument);
      return 0;
    case I2C_PEC:
      bus->pec = argument != 0;
      return 0;
    case I2C_SMBUS:
      return SmbusCall(*bus, selected_address, *reinterpret_cast<i2c_smbus_ioctl_data*>(argument));
    case I2C_RDWR:
      return PlainTransfer(*bus, *reinterpret_cast<i2c_rdwr_ioctl_data*>(argument));
    default:
      return Fail(ENOTTY);
  }
}
