#include "link/i2c/i2c_adapter.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

extern "C" {
#include <i2c/smbus.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
}

#include "link/i2c/pec.h"
#include "platform/common/printable.h"
#include "platform/system.h"

namespace smb::i2c {

namespace {

constexpr std::size_t kSmbusBlockMax = I2C_SMBUS_BLOCK_MAX;
constexpr std::size_t kLongestBlock = 255;

std::uint8_t WriteAddress(int address) { return static_cast<std::uint8_t>(address & 0xFE); }
std::uint8_t ReadAddress(int address) { return static_cast<std::uint8_t>((address & 0xFE) | 1); }

// Whether `path` still names the device node open as `fd`: an unplugged
// adapter takes its node with it.
bool NamesOpenDevice(const std::string& path, int fd) {
  struct stat open_node {};
  struct stat named_node {};
  return fstat(fd, &open_node) == 0 && stat(path.c_str(), &named_node) == 0 &&
         named_node.st_dev == open_node.st_dev && named_node.st_ino == open_node.st_ino;
}

int Arrived(std::size_t count, const std::uint8_t* bytes, std::size_t carried, std::vector<std::uint8_t>& reply) {
  reply.assign(bytes, bytes + std::min(count, carried));
  return static_cast<int>(count);
}

}  // namespace

I2cAdapter::I2cAdapter(std::string device_path)
    : path_(std::move(device_path)), shown_path_(platform::Printable(path_, 200)) {}

I2cAdapter::~I2cAdapter() { CloseDevice(); }

void I2cAdapter::SayOnce(const std::string& message) {
  if (message == last_message_) return;
  last_message_ = message;
  std::fprintf(stderr, "vantrel: %s\n", message.c_str());
}

// Said when it happens, and kept to be said again when the program ends:
// the screens of the adapter search clear it away.
int I2cAdapter::OpenFailed(const std::string& reason) {
  {
    const platform::InterruptDeferral whole;
    open_failure_ = shown_path_ + ": " + reason;
  }
  SayOnce(open_failure_);
  return kNotAcknowledged;
}

int I2cAdapter::OpenDeviceVIDPID(int, int) {
  if (fd_ >= 0) return kOpenResult;
  fd_ = open(path_.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) {
    const int error = errno;
    const bool denied = error == EACCES || error == EPERM;
    return OpenFailed(std::strerror(error) +
                      std::string(denied ? " (join the group i2c: sudo usermod -aG i2c $USER, then log in again)" : ""));
  }
  if (ioctl(fd_, I2C_FUNCS, &functions_) < 0) {
    const std::string reason = std::string("not an i2c-dev bus (") + std::strerror(errno) + ")";
    CloseDevice();
    return OpenFailed(reason);
  }
  if (!Has(I2C_FUNC_SMBUS_READ_WORD_DATA) && !Has(kPlainI2c)) {
    CloseDevice();
    return OpenFailed("the bus offers neither SMBus word reads nor plain I2C transfers");
  }
  selected_address_ = -1;
  last_message_.clear();
  {
    const platform::InterruptDeferral whole;
    open_failure_.clear();
  }
  ApplyPec();
  return kOpenResult;
}

int I2cAdapter::InterfaceID() { return fd_ >= 0 ? kAdapterInterfaceId : 0; }

void I2cAdapter::CloseDevice() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

int I2cAdapter::EnablePEC(int on) {
  pec_on_ = on != 0;
  if (fd_ >= 0) ApplyPec();
  return 0;
}

void I2cAdapter::ApplyPec() {
  if (Has(kAdapterPec)) {
    ioctl(fd_, I2C_PEC, pec_on_ ? 1UL : 0UL);
  } else if (pec_on_ && !Has(kPlainI2c)) {
    SayOnce(shown_path_ + ": the adapter has no PEC and no plain I2C transfers; going on without PEC");
  }
}

int I2cAdapter::SelectDevice(int address) {
  if (fd_ < 0) return kNotAcknowledged;
  if (address == selected_address_) return 0;
  const unsigned long seven_bit = static_cast<unsigned long>(address >> 1);
  // A kernel driver (sbs-battery) may hold the battery's address; the program
  // only reads and selects, so it may share the address.
  if (ioctl(fd_, I2C_SLAVE, seven_bit) < 0 && (errno != EBUSY || ioctl(fd_, I2C_SLAVE_FORCE, seven_bit) < 0)) {
    return Code(-errno);
  }
  selected_address_ = address;
  return 0;
}

int I2cAdapter::Code(int result) {
  if (result >= 0) return result;
  switch (-result) {
    case ENXIO:
    case EREMOTEIO:
    case ETIMEDOUT:
      return kNotAcknowledged;
    case EBADMSG:
      return kPecMismatch;
    case EPROTO:
    case EMSGSIZE:
      return kProtocolError;
    case EAGAIN:
      return kArbitrationLost;
    case EOPNOTSUPP:
    case EINVAL:
      return kNotSupported;
    case ENODEV:
      // Some bus drivers (i2c-stub among them) say so of an address where no
      // device answers; the adapter itself is gone only with its device node.
      if (fd_ >= 0 && NamesOpenDevice(path_, fd_)) return kNotAcknowledged;
      [[fallthrough]];
    case ENOENT:
    case ESHUTDOWN:
      // Unplugged: the next adapter check opens it afresh, or reports it missing.
      CloseDevice();
      return kAdapterGone;
    default:
      return kOtherError;
  }
}

int I2cAdapter::PlainTransfer(int address, const std::uint8_t* out, std::size_t out_count, std::uint8_t* in,
                              std::size_t in_count) {
  i2c_msg messages[2] = {};
  messages[0].addr = static_cast<__u16>(address >> 1);
  messages[0].len = static_cast<__u16>(out_count);
  messages[0].buf = const_cast<std::uint8_t*>(out);
  messages[1].addr = messages[0].addr;
  messages[1].flags = I2C_M_RD;
  messages[1].len = static_cast<__u16>(in_count);
  messages[1].buf = in;
  i2c_rdwr_ioctl_data transfer{messages, in_count > 0 ? 2u : 1u};
  if (ioctl(fd_, I2C_RDWR, &transfer) < 0) return Code(-errno);
  return 0;
}

int I2cAdapter::PlainReadWord(int address, int command) {
  const std::uint8_t out[1] = {static_cast<std::uint8_t>(command)};
  std::uint8_t in[3] = {};
  const bool pec = pec_on_;
  if (const int r = PlainTransfer(address, out, 1, in, pec ? 3 : 2); r < 0) return r;
  if (pec && Pec(0, {WriteAddress(address), out[0], ReadAddress(address), in[0], in[1]}) != in[2]) {
    return kPecMismatch;
  }
  return in[0] | (in[1] << 8);
}

int I2cAdapter::PlainWrite(int address, int command, const std::uint8_t* data, std::size_t count) {
  std::vector<std::uint8_t> out;
  out.push_back(static_cast<std::uint8_t>(command));
  out.insert(out.end(), data, data + count);
  if (pec_on_) out.push_back(Pec(Pec(0, {WriteAddress(address)}), out.data(), out.size()));
  return PlainTransfer(address, out.data(), out.size(), nullptr, 0);
}

// Count byte, data and PEC byte as the battery sends them; a first read of the
// longest SMBus block tells the count, a second one is made only for a longer block.
int I2cAdapter::PlainReadBlock(int address, int command, std::vector<std::uint8_t>& reply) {
  const std::uint8_t out[1] = {static_cast<std::uint8_t>(command)};
  const std::size_t pec = pec_on_ ? 1 : 0;
  std::uint8_t in[1 + kLongestBlock + 1] = {};
  if (const int r = PlainTransfer(address, out, 1, in, 1 + kSmbusBlockMax + pec); r < 0) return r;
  const std::size_t count = in[0];
  if (count > kSmbusBlockMax) {
    if (const int r = PlainTransfer(address, out, 1, in, 1 + count + pec); r < 0) return r;
    if (in[0] != count) return kProtocolError;
  }
  if (pec != 0) {
    const std::uint8_t expected =
        Pec(Pec(0, {WriteAddress(address), out[0], ReadAddress(address)}), in, 1 + count);
    if (expected != in[1 + count]) return kPecMismatch;
  }
  reply.assign(in + 1, in + 1 + count);
  return static_cast<int>(count);
}

int I2cAdapter::ReadWord(int address, int command) {
  if (const int r = SelectDevice(address); r < 0) return r;
  if (SoftwarePec() || !Has(I2C_FUNC_SMBUS_READ_WORD_DATA)) return PlainReadWord(address, command);
  return Code(i2c_smbus_read_word_data(fd_, static_cast<__u8>(command)));
}

int I2cAdapter::WriteWord(int address, int command, int value) {
  if (const int r = SelectDevice(address); r < 0) return r;
  if (SoftwarePec() || !Has(I2C_FUNC_SMBUS_WRITE_WORD_DATA)) {
    const std::uint8_t data[2] = {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF)};
    return PlainWrite(address, command, data, 2);
  }
  return Code(i2c_smbus_write_word_data(fd_, static_cast<__u8>(command), static_cast<__u16>(value)));
}

// Bridge drivers cut SMBus block reads short (CP2112: 31 data bytes under the
// battery's own count) or break them (MCP2221); plain transfers read what the
// battery sends, with the PEC byte or without it.
int I2cAdapter::ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) {
  reply.clear();
  if (const int r = SelectDevice(address); r < 0) return r;
  if (Has(kPlainI2c)) return PlainReadBlock(address, command, reply);
  if (Has(I2C_FUNC_SMBUS_READ_BLOCK_DATA)) return SmbusReadBlock(command, I2C_SMBUS_BLOCK_DATA, reply);
  // Without SMBus block reads: 32 raw bytes, the first of them the count.
  if (Has(I2C_FUNC_SMBUS_READ_I2C_BLOCK)) return SmbusReadBlock(command, I2C_SMBUS_I2C_BLOCK_DATA, reply);
  return kNotSupported;
}

// Through the kernel's own data union, which carries at most 32 bytes: the
// reply holds those that arrived, the count stays as the battery sent it.
int I2cAdapter::SmbusReadBlock(int command, int size, std::vector<std::uint8_t>& reply) {
  i2c_smbus_data data{};
  const bool raw = size == I2C_SMBUS_I2C_BLOCK_DATA;
  if (raw) data.block[0] = I2C_SMBUS_BLOCK_MAX;
  const int r = Code(i2c_smbus_access(fd_, I2C_SMBUS_READ, static_cast<__u8>(command), size, &data));
  if (r < 0) return r;
  const std::size_t carried = std::min<std::size_t>(data.block[0], kSmbusBlockMax);
  const std::uint8_t* bytes = data.block + 1;
  if (!raw) return Arrived(data.block[0], bytes, carried, reply);
  if (carried == 0) return 0;
  return Arrived(bytes[0], bytes + 1, carried - 1, reply);
}

int I2cAdapter::WriteBlock(int address, int command, const std::uint8_t* data, int count) {
  if (const int r = SelectDevice(address); r < 0) return r;
  const std::size_t length = static_cast<std::size_t>(std::clamp(count, 0, static_cast<int>(kLongestBlock)));
  const bool smbus = Has(I2C_FUNC_SMBUS_WRITE_BLOCK_DATA) && length <= kSmbusBlockMax && !SoftwarePec();
  if (smbus) {
    return Code(i2c_smbus_write_block_data(fd_, static_cast<__u8>(command), static_cast<__u8>(length), data));
  }
  if (!Has(kPlainI2c)) return kNotSupported;
  std::vector<std::uint8_t> block;
  block.push_back(static_cast<std::uint8_t>(length));
  block.insert(block.end(), data, data + length);
  return PlainWrite(address, command, block.data(), block.size());
}

}  // namespace smb::i2c
