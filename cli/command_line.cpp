#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <limits>
#include <string>

#include "cli/backup_files.h"
#include "cli/commands.h"
#include "cli/diagnose.h"
#include "cli/dump.h"
#include "cli/monitor.h"
#include "cli/security.h"
#include "cli/session.h"

namespace cli {

namespace {

constexpr const char* kDescription =
    "vantrel reads a battery pack's fuel gauge over SMBus. With no arguments it is the interactive program; "
    "with a command it runs that command once and exits.";

constexpr const char* kFooter =
    "Exit status: 0 success; 1 the adapter cannot be opened or no battery answers (or report auto finds no "
    "family), or a security or backup command did not reach its end (the gauge did not take the key or the seal "
    "command, the family or state is refused, a row cannot be read, not confirmed); 2 a usage or configuration "
    "error (also a security or backup command run off a terminal without --yes); 3 diagnose: something blocks "
    "charging or discharging, a permanent failure is set, or the status cannot be read.\n"
    "unseal, full-access and seal change the gauge's security state: each shows the gauge, its state and the exact "
    "bus writes first and asks before sending them.\n"
    "Environment: SMBUS_ADAPTER (sim, sim:NAME, sim:PATH, i2c:/dev/i2c-N, i2c:N, libsmbusb, libsmbusb:PATH), "
    "SMBUS_TRACE (bus trace file), SMBUS_RECORD (record a profile), SMBUS_SIM_REALTIME=1 (simulated time runs "
    "in real time), NO_COLOR, CLICOLOR_FORCE.";

struct Parsed {
  CommonOptions common;
  std::string family = "auto";
  bool json = false;
  MonitorOptions monitor;
  long long count = 0;
  AccessOptions access;
  DumpOptions dump;
  DiagnoseOptions diagnose;
};

constexpr const char* kFamilies = "auto (default: as detect finds it), bq20z, bq30z, bq40z or bq9000";

void AddCommonOptions(CLI::App& app, Parsed& parsed) {
  app.add_option("--adapter", parsed.common.adapter, "the adapter, as SMBUS_ADAPTER names it (overrides it)")
      ->type_name("VALUE");
  app.add_flag("--no-pec", parsed.common.no_pec, "run without packet error checking (PEC is on by default)");
}

// A number in [lowest, highest]; the message says what is wanted.
template <typename Number>
CLI::Validator Within(Number lowest, Number highest, const std::string& wanted) {
  return CLI::Validator(
      [=](std::string& text) -> std::string {
        Number value{};
        const bool number = CLI::detail::lexical_cast(text, value);
        return number && value >= lowest && value <= highest ? "" : text + " is not " + wanted;
      },
      "");
}

// --family and --yes, shared by the commands that write to the gauge.
void AddWriteOptions(CLI::App& command, std::string& family, bool& yes) {
  command.add_option("--family", family, kFamilies)
      ->type_name("FAMILY")
      ->check(CLI::IsMember({"auto", "bq20z", "bq30z", "bq40z", "bq9000"}));
  command.add_flag("-y,--yes", yes, "go ahead without asking (for scripts)");
}

// The help's closing lines of a command that writes to the gauge.
std::string WriteFooter(const std::string& writes, const std::string& success, const std::string& failures) {
  return "First shows the gauge, its security state and " + writes +
         "; on a terminal it then asks [y/N] unless --yes is given, and off a terminal it sends nothing without "
         "--yes.\nExit status: 0 " + success + "; 1 " + failures + ", or not confirmed; 2 a usage error, or off a "
         "terminal without --yes.";
}

constexpr const char* kKeyFailure =
    "the gauge did not take the key (a bq20z then ignores keys for 4 s: wait), the gauge is not a bq20z or bq40z "
    "(bq30z and the bq9000 family are not supported)";

// --key KEY, parsed as it is taken.
void AddKeyOption(CLI::App& command, Key& key) {
  command
      .add_option_function<std::string>(
          "--key",
          [&key](const std::string& text) {
            const KeyParse parsed = ParseKey(text);
            if (!parsed.key) throw CLI::ValidationError("--key", parsed.problem);
            key = *parsed.key;
          },
          "the key: two 16-bit words in the order they are sent (0x0414,0x3672), or one 32-bit number sent low word "
          "first (0x36720414)")
      ->type_name("KEY")
      ->required();
}

// The commands that write to the gauge: unseal, full-access, seal and dump.
struct WriteCommands {
  CLI::App* unseal;
  CLI::App* full_access;
  CLI::App* seal;
  CLI::App* dump;
};

WriteCommands AddWriteCommands(CLI::App& app, Parsed& parsed) {
  CLI::App* unseal =
      app.add_subcommand("unseal", "sealed -> unsealed, with the unseal key (changes the gauge's state)");
  AddKeyOption(*unseal, parsed.access.key);
  CLI::App* full_access = app.add_subcommand(
      "full-access", "unsealed -> full access, with the full-access key (changes the gauge's state)");
  AddKeyOption(*full_access, parsed.access.key);
  CLI::App* seal = app.add_subcommand("seal", "seal the gauge (changes the gauge's state)");
  CLI::App* dump = app.add_subcommand(
      "dump", "read-only backup of a bq40z's data flash: an 8 KiB image and FILE.json (family, identity, SHA-256)");
  dump->add_option("--output", parsed.dump.output, "the image file; its description goes to FILE.json")
      ->type_name("FILE")
      ->required();
  for (CLI::App* command : {unseal, full_access, seal}) {
    AddWriteOptions(*command, parsed.access.family, parsed.access.yes);
  }
  unseal->footer(WriteFooter("the key's two word writes to ManufacturerAccess (0x00)",
                             "the gauge is unsealed (read back)", kKeyFailure));
  full_access->footer(WriteFooter("the key's two word writes to ManufacturerAccess (0x00)",
                                  "the gauge is in full access (read back)",
                                  std::string(kKeyFailure) + ", the gauge is sealed (unseal it first)"));
  seal->footer(WriteFooter("the seal command it writes to ManufacturerAccess (0x00): 0x0030 on a bq40z, 0x0020 on a "
                           "bq20z",
                           "the gauge is sealed (read back)",
                           "the gauge did not seal, the gauge is not a bq20z or bq40z (bq30z and the bq9000 family are "
                           "not supported)"));
  dump->footer(WriteFooter("the 256 two-byte address requests it writes to 0x44 (rows 0x4000 to 0x5FE0, each read "
                           "back from 0x44)",
                           "the image and FILE.json are written (each under its name only once complete)",
                           "the gauge is not a bq40z or is sealed, a row cannot be read, the files cannot be written"));
  AddWriteOptions(*dump, parsed.dump.family, parsed.dump.yes);
  return {unseal, full_access, seal, dump};
}

// One line: CLI11's messages may hold line ends.
std::string OneLine(std::string message) {
  for (char& c : message) {
    if (c == '\n') c = ' ';
  }
  return message;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  Parsed parsed;
  CLI::App app{kDescription, "vantrel"};
  app.set_version_flag("-V,--version", std::string("vantrel ") + VANTREL_VERSION, "print the version and exit");
  app.set_help_flag("-h,--help", "print this help and exit (each command also takes --help)");
  app.require_subcommand(0, 1);
  AddCommonOptions(app, parsed);

  CLI::App* detect = app.add_subcommand("detect", "which gauge answers, and which report fits it");
  CLI::App* report = app.add_subcommand("report", "one report, as its menu choice prints it");
  report->add_option("FAMILY", parsed.family, "auto (default), bq20z, bq30z, bq40z or bq9000")
      ->check(CLI::IsMember({"auto", "bq20z", "bq30z", "bq40z", "bq9000"}));
  CLI::App* read = app.add_subcommand("read", "the Smart Battery data, decoded, with a health summary");
  read->add_flag("--json", parsed.json, "one JSON object instead of text");
  CLI::App* monitor =
      app.add_subcommand("monitor", "a sample every interval, as CSV or JSON Lines, until --count or Ctrl-C");
  monitor->add_option("--interval", parsed.monitor.interval_seconds, "seconds between samples (default 1, at least 0.1)")
      ->type_name("SECONDS")
      ->check(Within<double>(0.1, 86400.0, "a number of seconds from 0.1 to 86400"));
  monitor->add_option("--count", parsed.count, "stop after N samples")
      ->type_name("N")
      ->check(Within<long long>(1, std::numeric_limits<long long>::max(), "a whole number of at least 1"));
  monitor->add_option("--output", parsed.monitor.output, "write the samples to FILE (default standard output)")
      ->type_name("FILE");
  monitor->add_option("--format", parsed.monitor.format, "csv (default) or jsonl")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"csv", "jsonl"}));
  CLI::App* diagnose =
      app.add_subcommand("diagnose", "why the pack will not charge or discharge, in plain words (read-only)");
  diagnose->add_flag("--json", parsed.diagnose.json, "one JSON object instead of text");
  diagnose->add_option("--family", parsed.diagnose.family, kFamilies)
      ->type_name("FAMILY")
      ->check(CLI::IsMember({"auto", "bq20z", "bq30z", "bq40z", "bq9000"}));
  diagnose->footer(
      "The verdict first, then every rule that fired, then each status register with its set flags. Reads only: "
      "the status registers are read through ManufacturerAccess or the manufacturer block command.\n"
      "Exit status: 0 nothing blocks charging or discharging and no permanent failure is set; 3 something does, or "
      "the status cannot be read; 1 no adapter or battery; 2 a usage error.");
  const WriteCommands writing = AddWriteCommands(app, parsed);
  // Shown in the help of every command, and taken before or after it.
  for (CLI::App* command :
       {detect, report, read, monitor, diagnose, writing.unseal, writing.full_access, writing.seal, writing.dump}) {
    AddCommonOptions(*command, parsed);
  }
  app.footer(kFooter);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return kExitSuccess;
  } catch (const CLI::CallForAllHelp&) {
    std::fputs(app.help("", CLI::AppFormatMode::All).c_str(), stdout);
    return kExitSuccess;
  } catch (const CLI::CallForVersion& version) {
    std::printf("%s\n", version.what());
    return kExitSuccess;
  } catch (const CLI::ParseError& error) {
    Complain(OneLine(error.what()) + " (see vantrel --help)");
    return kExitUsage;
  }
  if (app.get_subcommands().empty()) {
    Complain(
        "a command is needed: detect, report, read, monitor, diagnose, unseal, full-access, seal or dump (see vantrel "
        "--help)");
    return kExitUsage;
  }
  if (monitor->parsed() && parsed.count > 0) parsed.monitor.count = parsed.count;
  if (writing.dump->parsed()) {
    if (const std::string problem = OutputProblem(parsed.dump.output); !problem.empty()) {
      Complain("--output: " + problem);
      return kExitUsage;
    }
  }
  if (writing.unseal->parsed()) parsed.access.action = Action::Unseal;
  if (writing.full_access->parsed()) parsed.access.action = Action::FullAccess;

  if (monitor->parsed()) {
    return RunSession(parsed.common, [&](core::Program& p) { return Monitor(p, parsed.monitor); },
                      &monitor_stop_requested);
  }
  return RunSession(parsed.common, [&](core::Program& p) {
    if (detect->parsed()) return Detect(p);
    if (report->parsed()) return Report(p, parsed.family);
    if (read->parsed()) return Read(p, parsed.json);
    if (diagnose->parsed()) return Diagnose(p, parsed.diagnose);
    if (writing.dump->parsed()) return Dump(p, parsed.dump);
    return Access(p, parsed.access);
  });
}

}  // namespace cli
