// A vendor library that lacks one of the eight operations.

extern "C" {
__attribute__((visibility("default"))) int SMBOpenDeviceVIDPID(int, int) { return 1; }
__attribute__((visibility("default"))) int SMBInterfaceID() { return 0x4D5355; }
}
