#pragma once
/* A USB-HID chip as a kernel driver sees it through /dev/uhid: its USB ids, its
 * report descriptor, and what it does with the reports the driver sends. */

#include <stddef.h>
#include <stdint.h>

#include "smart_battery.h"

struct hid_chip {
  const char* name;
  uint16_t vendor, product;
  const uint8_t* descriptor;
  size_t descriptor_size;
  /* An output report (its report number first where the chip numbers them);
   * the chip answers with input reports through hid_send_input. */
  void (*output)(struct smart_battery* battery, const uint8_t* report, size_t size);
  /* A feature report asked for: its bytes into `reply` (report number first),
   * their count, or -1 when the chip has no such report. */
  int (*get_feature)(uint8_t number, uint8_t* reply, size_t capacity);
};

/* An input report to the driver. */
void hid_send_input(const uint8_t* report, size_t size);

extern const struct hid_chip cp2112_chip;
extern const struct hid_chip mcp2221_chip;
