/* hid-bridge: presents a USB-SMBus bridge chip over the kernel's uhid
 * interface, with a Smart Battery behind it, until it is ended (SIGTERM or
 * SIGINT unplug the chip).
 *
 *   hid-bridge cp2112|mcp2221 REGISTERS|none [COUNTS]
 *
 * REGISTERS is a register file (smart_battery.h); "none" leaves the battery's
 * address unanswered. COUNTS is a file kept holding the HID reports so far:
 * those the host sent (output reports and feature report requests) and those
 * the chip sent back (input reports and feature report replies). */

#include <fcntl.h>
#include <linux/uhid.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "hid_chip.h"

static int uhid = -1;
static unsigned long reports_out = 0, reports_in = 0;
static int counts = -1;

static void save_counts(void) {
  char text[48];
  const int length = snprintf(text, sizeof text, "%20lu %20lu\n", reports_out, reports_in);
  if (counts >= 0 && pwrite(counts, text, (size_t)length, 0) != length) perror("hid-bridge: counts");
}

static void send_event(const struct uhid_event* event) {
  if (write(uhid, event, sizeof *event) != (ssize_t)sizeof *event) perror("hid-bridge: /dev/uhid");
}

void hid_send_input(const uint8_t* report, size_t size) {
  struct uhid_event event;
  memset(&event, 0, sizeof event);
  event.type = UHID_INPUT2;
  event.u.input2.size = (uint16_t)size;
  memcpy(event.u.input2.data, report, size);
  send_event(&event);
  ++reports_in;
}

static void create(const struct hid_chip* chip) {
  struct uhid_event event;
  memset(&event, 0, sizeof event);
  event.type = UHID_CREATE2;
  snprintf((char*)event.u.create2.name, sizeof event.u.create2.name, "%s", chip->name);
  event.u.create2.rd_size = (uint16_t)chip->descriptor_size;
  event.u.create2.bus = 0x03; /* USB */
  event.u.create2.vendor = chip->vendor;
  event.u.create2.product = chip->product;
  memcpy(event.u.create2.rd_data, chip->descriptor, chip->descriptor_size);
  send_event(&event);
}

static void answer_get_report(const struct hid_chip* chip, const struct uhid_get_report_req* request) {
  struct uhid_event event;
  memset(&event, 0, sizeof event);
  event.type = UHID_GET_REPORT_REPLY;
  event.u.get_report_reply.id = request->id;
  const int size = request->rtype == UHID_FEATURE_REPORT
                       ? chip->get_feature(request->rnum, event.u.get_report_reply.data, UHID_DATA_MAX)
                       : -1;
  event.u.get_report_reply.err = size < 0 ? 5 /* EIO */ : 0;
  event.u.get_report_reply.size = (uint16_t)(size < 0 ? 0 : size);
  send_event(&event);
  ++reports_in;
}

static void answer_set_report(const struct uhid_set_report_req* request) {
  struct uhid_event event;
  memset(&event, 0, sizeof event);
  event.type = UHID_SET_REPORT_REPLY;
  event.u.set_report_reply.id = request->id;
  send_event(&event);
}

static volatile sig_atomic_t ended = 0;
static void end(int signal_number) {
  (void)signal_number;
  ended = 1;
}

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    fprintf(stderr, "usage: hid-bridge cp2112|mcp2221 REGISTERS|none [COUNTS]\n");
    return 2;
  }
  const struct hid_chip* chip = strcmp(argv[1], "cp2112") == 0    ? &cp2112_chip
                                : strcmp(argv[1], "mcp2221") == 0 ? &mcp2221_chip
                                                                  : NULL;
  struct smart_battery* battery = smart_battery_load(strcmp(argv[2], "none") == 0 ? NULL : argv[2]);
  if (chip == NULL || battery == NULL) {
    fprintf(stderr, "hid-bridge: unknown chip %s or no battery\n", argv[1]);
    return 2;
  }
  if (argc == 4 && (counts = open(argv[3], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)) < 0) {
    perror(argv[3]);
    return 1;
  }
  save_counts();
  uhid = open("/dev/uhid", O_RDWR | O_CLOEXEC);
  if (uhid < 0) {
    perror("hid-bridge: /dev/uhid");
    return 1;
  }
  struct sigaction action;
  memset(&action, 0, sizeof action);
  action.sa_handler = end; /* no SA_RESTART: the read below returns */
  sigaction(SIGTERM, &action, NULL);
  sigaction(SIGINT, &action, NULL);
  create(chip);
  while (!ended) {
    struct uhid_event event;
    if (read(uhid, &event, sizeof event) <= 0) continue;
    switch (event.type) {
      case UHID_OUTPUT:
        ++reports_out;
        chip->output(battery, event.u.output.data, event.u.output.size);
        break;
      case UHID_GET_REPORT:
        ++reports_out;
        answer_get_report(chip, &event.u.get_report);
        break;
      case UHID_SET_REPORT:
        ++reports_out;
        answer_set_report(&event.u.set_report);
        break;
      default:
        continue;
    }
    save_counts();
  }
  struct uhid_event destroy;
  memset(&destroy, 0, sizeof destroy);
  destroy.type = UHID_DESTROY;
  send_event(&destroy);
  close(uhid);
  return 0;
}
