// A vendor library that lacks one of the eight operations.

#ifdef _WIN32
#define EXPORTED __declspec(dllexport)
#else
#define EXPORTED __attribute__((visibility("default")))
#endif

extern "C" {
EXPORTED int SMBOpenDeviceVIDPID(int, int) { return 1; }
EXPORTED int SMBInterfaceID() { return 0x4D5355; }
}
