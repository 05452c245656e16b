#pragma once
/* A Smart Battery at SMBus address 0x0B as the bus sees it: word and block
 * registers, the ManufacturerAccess selections (word 0x00 and blocks 0x23,
 * 0x2F after a write to 0x00, block 0x78 after a write to 0x77, block 0x44
 * echoing the request written to it) and a PEC byte after every reply.
 *
 * Its registers come from a text file, one register a line, bytes in hex:
 *   word CC VVVV     block CC BB BB ...
 *   ma SSSS VVVV     (word 0x00 after SSSS was written to 0x00)
 *   md SSSS BB ...   (block 0x23 after a write of SSSS to 0x00, block 0x44 after a request of SSSS)
 *   df SSSS BB ...   (block 0x2F after a write of SSSS to 0x00)
 *   sc SSSS BB ...   (block 0x78 after a write of SSSS to 0x77)
 * A register that the file does not name is not acknowledged. */

#include <stddef.h>
#include <stdint.h>

struct smart_battery;

/* NULL with a message on stderr when the file cannot be read. A battery made
 * from NULL is absent: nothing acknowledges its address. */
struct smart_battery* smart_battery_load(const char* path);

/* Whether the battery acknowledges its address (`address8`: the 8-bit write address). */
int smart_battery_acknowledges(const struct smart_battery* battery, uint8_t address8);

/* A write transfer to `address8` (the 8-bit write address): the command, its
 * data and optionally a PEC byte, which the battery checks. 0, or -1 when the
 * battery does not acknowledge. */
int smart_battery_write(struct smart_battery* battery, uint8_t address8, const uint8_t* bytes, size_t count);

/* A write of `out` (the command), a repeated start and a read of `in_count`
 * bytes into `in`: the reply, its PEC byte, then the bus idling high (0xFF).
 * 0, or -1 when the battery does not acknowledge. */
int smart_battery_write_read(struct smart_battery* battery, uint8_t address8, const uint8_t* out, size_t out_count,
                             uint8_t* in, size_t in_count);
