#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "cli/adapters.h"
#include "cli/backup_files.h"
#include "cli/commands.h"
#include "cli/diagnose.h"
#include "cli/dump.h"
#include "cli/help_text.h"
#include "cli/monitor.h"
#include "cli/security.h"
#include "cli/session.h"
#include "link/sim/builtin_profiles.h"
#include "link/sim/profile.h"
#include "platform/common/printable.h"
#include "platform/files.h"

namespace cli {

namespace {

// "; did you mean "NAME"?" when a name is near `typed`.
std::string DidYouMean(const std::string& typed, const std::vector<std::string>& names) {
  const std::string nearest = Nearest(typed, names);
  return nearest.empty() ? "" : "; did you mean \"" + nearest + "\"?";
}

std::vector<std::string> CommandNames(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* command : app.get_subcommands({})) names.push_back(command->get_name());
  return names;
}

const CLI::App* CommandNamed(const CLI::App& app, const std::string& name) {
  for (const CLI::App* command : app.get_subcommands({})) {
    if (command->get_name() == name) return command;
  }
  return nullptr;
}

const CLI::Option* OptionNamed(const CLI::App& command, const std::string& name) {
  for (const CLI::Option* option : command.get_options()) {
    if (option->nonpositional() && option->check_name(name)) return option;
  }
  return nullptr;
}

std::vector<std::string> OptionNames(const CLI::App& command) {
  std::vector<std::string> names;
  for (const CLI::Option* option : command.get_options()) {
    for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
  }
  return names;
}

bool TakesPositional(const CLI::App& command) {
  for (const CLI::Option* option : command.get_options()) {
    if (option->get_positional()) return true;
  }
  return false;
}

// What is wrong with the words of a command line, in the program's words,
// before CLI11 sees them: an unknown command or option (with the nearest
// name), an option without its value, a word too many.
std::string UsageProblem(const CLI::App& app, const std::vector<std::string>& args) {
  const CLI::App* command = nullptr;
  bool positional_taken = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") break;
    const CLI::App& scope = command != nullptr ? *command : app;
    if (arg.size() > 1 && arg[0] == '-') {
      const std::size_t equals = arg.find('=');
      const std::string name = arg.substr(0, equals);
      const CLI::Option* option = OptionNamed(scope, name);
      if (option == nullptr) {
        const std::string where = command != nullptr ? " for " + command->get_name() : "";
        return "unknown option \"" + platform::Printable(name) + "\"" + where + DidYouMean(name, OptionNames(scope));
      }
      if (option->get_items_expected_max() > 0 && equals == std::string::npos) {
        if (i + 1 == args.size()) return name + " needs a value (" + option->get_type_name() + ")";
        ++i;
      }
      continue;
    }
    if (command == nullptr) {
      command = CommandNamed(app, arg);
      if (command == nullptr) {
        return "unknown command \"" + platform::Printable(arg) + "\"" + DidYouMean(arg, CommandNames(app));
      }
      continue;
    }
    if (TakesPositional(*command) && !positional_taken) {
      positional_taken = true;
      continue;
    }
    if (CommandNamed(app, arg) != nullptr) return "one command at a time: " + command->get_name() + " and " + arg;
    return "unexpected \"" + platform::Printable(arg) + "\" after " + command->get_name();
  }
  return "";
}

int PrintHelp(const std::string& help) {
  std::fputs(WrapHelp(help).c_str(), stdout);
  return kExitSuccess;
}

// vantrel help [COMMAND]: as --help.
int HelpCommand(const CLI::App& app, const std::vector<std::string>& args) {
  if (args.size() == 1) return PrintHelp(app.help());
  const CLI::App* command = args.size() == 2 ? CommandNamed(app, args[1]) : nullptr;
  if (command == nullptr) {
    Complain("help takes one command name" + (args.size() == 2 ? DidYouMean(args[1], CommandNames(app)) : "") +
             " (see vantrel --help)");
    return kExitUsage;
  }
  return PrintHelp(command->help(app.get_name()));
}

int ListProfiles() {
  for (const smb::sim::BuiltinProfile& builtin : smb::sim::BuiltinProfiles()) {
    const smb::sim::Profile profile = smb::sim::LoadProfile(builtin.name);
    std::printf("%-20s %s\n", builtin.name, profile.description.c_str());
  }
  return kExitSuccess;
}

constexpr const char* kDescription =
    "vantrel reads a battery pack's fuel gauge over SMBus. With no arguments it is the interactive program; "
    "with a command it runs that command once and exits.";

// Sections of the help that help2man takes for the man page's sections of
// the same names.
constexpr const char* kFooter =
    "Exit status:\n"
    "  0  success\n"
    "  1  the adapter cannot be opened, no battery answers, adapters finds none (or report auto finds no "
    "family), the gauge is in boot-ROM or calibration mode (read), standard output or a log cannot be written, or a security or backup "
    "command did not reach its end (the gauge did not take the key or the seal command, the family or state is "
    "refused, a row cannot be read, not confirmed)\n"
    "  2  a usage or configuration error (also a security or backup command run off a terminal without --yes)\n"
    "  3  diagnose: something blocks charging or discharging, a permanent failure is set, or the status cannot be "
    "read\n"
    "\n"
    "Environment:\n"
    "  SMBUS_ADAPTER       sim, sim:NAME (see vantrel profiles), sim:PATH, i2c:/dev/i2c-N, i2c:N, i2c:NAME, "
    "cp2112, cp2112:SERIAL, libsmbusb, libsmbusb:PATH\n"
    "  SMBUS_CP2112_KHZ    the CP2112's SMBus clock in kHz, 10 to 400 (default 100)\n"
    "  SMBUS_TRACE         a file that gets one line per bus operation\n"
    "  SMBUS_RECORD        a file that gets every answer of the adapter as a profile\n"
    "  SMBUS_SIM_REALTIME  1: the simulated battery's pauses take real time; 0: the monitor's intervals too pass in "
    "the simulated battery's own time (for tests)\n"
    "  NO_COLOR            no colour; CLICOLOR_FORCE: colour also off a terminal\n"
    "\n"
    "Files:\n"
    "  CountSRCHadp.bin    the interactive program's adapter search budget, in the working directory\n"
    "  RestartProgramm.sh  run with /bin/sh when the adapter asks the interactive program to restart\n";

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

constexpr const char* kFamilies = "auto (default: the family the Device Name names), bq20z, bq30z, bq40z or bq9000";
const std::vector<std::string> kFamilyNames = {"auto", "bq20z", "bq30z", "bq40z", "bq9000"};

// One of `names`; a near miss is named.
CLI::Validator OneOf(std::vector<std::string> names) {
  return CLI::Validator(
      [names](std::string& text) -> std::string {
        if (std::find(names.begin(), names.end(), text) != names.end()) return "";
        std::string list;
        for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
        return "\"" + text + "\" is not one of " + list + DidYouMean(text, names);
      },
      "");
}

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
      ->check(OneOf(kFamilyNames));
  command.add_flag("-y,--yes", yes, "go ahead without asking (for scripts)");
}

// The help's closing lines of a command that writes to the gauge.
std::string WriteFooter(const std::string& writes, const std::string& success, const std::string& failures) {
  return "First shows the gauge, its security state and " + writes +
         " on standard error; on a terminal it then asks [y/N] unless --yes is given, and off a terminal it sends "
         "nothing without --yes. The family comes from the Device Name or --family, never from probing writes: "
         "with neither, or when they disagree, nothing is sent.\nExit status: 0 " + success + "; 1 " + failures +
         ", or not confirmed; 2 a usage error, no family or a contradicting one, or off a terminal without --yes.";
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
constexpr const char* kForeignLink =
    "a symbolic link in a folder that anyone may write to, owned by another user, is not followed";

// The parser's message quotes values from the command line as they were
// typed: any control byte escaped, an endless value cut.
std::string OneLine(std::string message) {
  for (char& c : message) {
    if (c == '\n') c = ' ';
  }
  return platform::Printable(message, 240);
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  Parsed parsed;
  CLI::App app{kDescription, "vantrel"};
  app.set_version_flag("-V,--version", std::string("vantrel ") + VANTREL_VERSION, "print the version and exit");
  app.set_help_flag("-h,--help", "print this help and exit (each command also takes --help)");
  app.require_subcommand(0, 1);
  app.get_formatter()->label("SUBCOMMAND", "COMMAND");
  AddCommonOptions(app, parsed);

  CLI::App* detect = app.add_subcommand("detect", "which gauge answers, and which report fits it");
  CLI::App* report = app.add_subcommand("report", "one report, as its menu choice prints it");
  report->add_option("FAMILY", parsed.family, "auto (default), bq20z, bq30z, bq40z or bq9000")
      ->check(OneOf(kFamilyNames));
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
  monitor->add_option("--output", parsed.monitor.output, "write the samples to FILE (default, or -: standard output)")
      ->type_name("FILE");
  monitor->add_option("--format", parsed.monitor.format, "csv (default) or jsonl")
      ->type_name("FORMAT")
      ->check(OneOf({"csv", "jsonl"}));
  CLI::App* diagnose =
      app.add_subcommand("diagnose", "why the pack will not charge or discharge, in plain words (read-only)");
  diagnose->add_flag("--json", parsed.diagnose.json, "one JSON object instead of text");
  diagnose->add_option("--family", parsed.diagnose.family, kFamilies)
      ->type_name("FAMILY")
      ->check(OneOf(kFamilyNames));
  diagnose->footer(
      "The verdict first, then every rule that fired, then each status register with its set flags. Reads only: "
      "the status registers are read through ManufacturerAccess or the manufacturer block command.\n"
      "Exit status: 0 nothing blocks charging or discharging and no permanent failure is set; 3 something does, or "
      "the status cannot be read; 1 no adapter or battery; 2 a usage error.");
  const WriteCommands writing = AddWriteCommands(app, parsed);
  CLI::App* profiles = app.add_subcommand("profiles", "the simulated battery's built-in profiles (sim:NAME)");
  CLI::App* adapters = app.add_subcommand(
      "adapters", "the adapters this machine offers: i2c-dev buses, CP2112 boards, the vendor library (exit 1: none)");
  adapters->add_flag("--json", parsed.json, "one JSON document instead of text");
  // Shown in the help of every command, and taken before or after it.
  for (CLI::App* command :
       {detect, report, read, monitor, diagnose, writing.unseal, writing.full_access, writing.seal, writing.dump}) {
    AddCommonOptions(*command, parsed);
  }
  for (CLI::App* command : app.get_subcommands({})) command->group("Commands");
  app.footer(kFooter);

  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "help") return Finished(HelpCommand(app, args));
  if (const std::string problem = UsageProblem(app, args); !problem.empty()) {
    Complain(problem + " (see vantrel --help)");
    return kExitUsage;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    return Finished(PrintHelp(app.help()));
  } catch (const CLI::CallForAllHelp&) {
    return Finished(PrintHelp(app.help("", CLI::AppFormatMode::All)));
  } catch (const CLI::CallForVersion& version) {
    std::printf("%s\n", version.what());
    return Finished(kExitSuccess);
  } catch (const CLI::ParseError& error) {
    Complain(OneLine(error.what()) + " (see vantrel --help)");
    return kExitUsage;
  }
  if (app.get_subcommands().empty()) {
    Complain(
        "a command is needed: detect, report, read, monitor, diagnose, unseal, full-access, seal, dump, profiles or "
        "adapters (see vantrel --help)");
    return kExitUsage;
  }
  if (profiles->parsed()) return Finished(ListProfiles());
  if (adapters->parsed()) return Finished(PrintAdapters(FindAdapters(), parsed.json));
  if (monitor->parsed() && parsed.count > 0) parsed.monitor.count = parsed.count;
  if (monitor->parsed() && parsed.monitor.output != "-" && platform::ThroughForeignLink(parsed.monitor.output)) {
    Complain("--output: " + platform::Printable(parsed.monitor.output, 200) + ": " + kForeignLink);
    return kExitUsage;
  }
  if (writing.dump->parsed()) {
    if (const std::string problem = OutputProblem(parsed.dump.output); !problem.empty()) {
      Complain("--output: " + problem);
      return kExitUsage;
    }
  }
  if (writing.unseal->parsed()) parsed.access.action = Action::Unseal;
  if (writing.full_access->parsed()) parsed.access.action = Action::FullAccess;

  if (monitor->parsed()) {
    const char* realtime = std::getenv("SMBUS_SIM_REALTIME");
    parsed.monitor.virtual_intervals = realtime != nullptr && std::strcmp(realtime, "0") == 0;
    return RunSession(parsed.common, [&](core::Program& p) { return Finished(Monitor(p, parsed.monitor)); },
                      &monitor_stop_requested);
  }
  return RunSession(parsed.common, [&](core::Program& p) {
    if (detect->parsed()) return Finished(Detect(p));
    if (report->parsed()) return Finished(Report(p, parsed.family));
    if (read->parsed()) return Finished(Read(p, parsed.json));
    if (diagnose->parsed()) return Finished(Diagnose(p, parsed.diagnose));
    if (writing.dump->parsed()) return Finished(Dump(p, parsed.dump));
    return Finished(Access(p, parsed.access));
  });
}

}  // namespace cli
