#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <limits>
#include <string>

#include "cli/commands.h"
#include "cli/monitor.h"
#include "cli/session.h"

namespace cli {

namespace {

constexpr const char* kDescription =
    "vantrel reads a battery pack's fuel gauge over SMBus. With no arguments it is the interactive program; "
    "with a command it runs that command once and exits.";

constexpr const char* kFooter =
    "Exit status: 0 success; 1 the adapter cannot be opened or no battery answers (or report auto finds no "
    "family); 2 a usage or configuration error.\n"
    "Environment: SMBUS_ADAPTER (sim, sim:NAME, sim:PATH, i2c:/dev/i2c-N, i2c:N, libsmbusb, libsmbusb:PATH), "
    "SMBUS_TRACE (bus trace file), SMBUS_RECORD (record a profile), SMBUS_SIM_REALTIME=1 (simulated time runs "
    "in real time), NO_COLOR, CLICOLOR_FORCE.";

struct Parsed {
  CommonOptions common;
  std::string family = "auto";
  bool json = false;
  MonitorOptions monitor;
  long long count = 0;
};

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
  // Shown in the help of every command, and taken before or after it.
  for (CLI::App* command : {detect, report, read, monitor}) AddCommonOptions(*command, parsed);
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
    Complain("a command is needed: detect, report, read or monitor (see vantrel --help)");
    return kExitUsage;
  }
  if (monitor->parsed() && parsed.count > 0) parsed.monitor.count = parsed.count;

  if (monitor->parsed()) {
    return RunSession(parsed.common, [&](core::Program& p) { return Monitor(p, parsed.monitor); },
                      &monitor_stop_requested);
  }
  return RunSession(parsed.common, [&](core::Program& p) {
    if (detect->parsed()) return Detect(p);
    if (report->parsed()) return Report(p, parsed.family);
    return Read(p, parsed.json);
  });
}

}  // namespace cli
