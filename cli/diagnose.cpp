#include "cli/diagnose.h"

#include <cstdio>

#include "cli/diagnose_read.h"
#include "cli/diagnose_rules.h"
#include "cli/read_text.h"
#include "cli/session.h"

namespace cli {

using core::Program;
using platform::Cyan;
using platform::Green;
using platform::Red;
using platform::White;
using platform::Yellow;

namespace {

std::string Raw(const RegisterReading& reg) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", reg.bytes * 2, static_cast<unsigned>(reg.value.value));
  return text;
}

// A register's key under "errors": the adapter's code, or the byte count of a reply too short.
void AddRegisters(Json& document, const DiagnoseReading& reading) {
  Json registers = Json::object();
  for (const RegisterReading& reg : reading.registers) {
    if (!reg.value.read) {
      registers[reg.name] = nullptr;
      document["errors"][reg.name] = reg.value.result;
      continue;
    }
    Json flags = Json::array();
    for (const SetFlag& flag : SetFlags(reg)) {
      flags.push_back({{"name", flag.name}, {"meaning", flag.meaning}, {"effect", EffectCode(flag.effect)}});
    }
    registers[reg.name] = {{"raw", Raw(reg)}, {"flags", flags}};
  }
  document["registers"] = registers;
}

// History only: the cells' highest and lowest voltages and their largest
// difference since the gauge began to record.
void AddLifetime(Record& record, const DiagnoseReading& reading) {
  if (!reading.lifetime_read) {
    record.Set("lifetime", nullptr);
  } else if (reading.lifetime_words.empty()) {
    record.Fail("lifetime", reading.lifetime_error);
  } else {
    const std::vector<int>& words = reading.lifetime_words;
    record.Set("lifetime", {{"max_cell_mV", std::vector<int>(words.begin(), words.begin() + 4)},
                            {"min_cell_mV", std::vector<int>(words.begin() + 4, words.begin() + 8)},
                            {"max_delta_cell_mV", words[8]}});
  }
}

Json Document(const DiagnoseReading& reading, const Diagnosis& diagnosis) {
  const Scales scales = ScalesOf(0, reading.specification_info);
  Record record;
  record.Set("schema", 1);
  record.Set("family", reading.family ? Json(InfoOf(*reading.family).name) : Json(nullptr));
  if (reading.device_name.result < 0) {
    record.Fail("device_name", reading.device_name.result);
  } else {
    record.Set("device_name", JsonText(reading.device_name.bytes));
  }
  record.Set("verdict", {{"code", diagnosis.verdict}, {"text", diagnosis.text}});
  Json rules = Json::array();
  for (const FiredRule& rule : diagnosis.rules) rules.push_back({{"code", rule.code}, {"text", rule.text}});
  record.Set("rules", rules);
  record.Set("registers", nullptr);  // its place in the order; filled below
  AddSeal(record, reading.seal);
  record.Word("temperature_C", reading.temperature, Celsius, scales);
  record.Word("current_mA", reading.current, SignedMilliAmps, scales);
  AddCells(record, reading.cells, reading.voltage);
  AddLifetime(record, reading);
  Json document = record.Document();
  AddRegisters(document, reading);
  return document;
}

void Row(platform::Console& con, const char* label, const Json& value, const Json& errors, const char* key,
         const char* unit) {
  PrintLabel(con, label);
  if (!value.is_null()) {
    con.Print(White, "%s%s\n", value.is_string() ? value.get<std::string>().c_str() : value.dump().c_str(), unit);
  } else if (errors.contains(key)) {
    con.Print(Red, "n/a (error %d)\n", errors.at(key).get<int>());
  } else {
    con.Print(White, "n/a\n");
  }
}

void PrintRegister(platform::Console& con, const RegisterReading& reg) {
  PrintLabel(con, reg.name);
  if (!reg.value.read) {
    if (reg.value.result < 0) {
      con.Print(Red, "unreadable (error %d)\n", reg.value.result);
    } else {
      con.Print(Red, "unreadable (a reply of %d bytes)\n", reg.value.result);
    }
    return;
  }
  const std::vector<SetFlag> flags = SetFlags(reg);
  con.Print(White, "%s%s\n", Raw(reg).c_str(), flags.empty() ? ", no flag set" : "");
  for (const SetFlag& flag : flags) {
    const bool information = flag.effect == reports::Effect::Info;
    con.Print(Yellow, "  %-9s", flag.name.c_str());
    con.Print(information ? White : Red, "%s (%s)\n", flag.meaning, EffectText(flag.effect));
  }
}

void PrintText(Program& p, const DiagnoseReading& reading, const Diagnosis& diagnosis, const Json& document) {
  platform::Console& con = p.con;
  con.Print(NothingBlocks(diagnosis) ? Green : Red, "%s\n", diagnosis.text.c_str());
  con.NewLine();
  con.Print(Yellow, "Rules\n");
  if (diagnosis.rules.empty()) con.Print(White, "  none fired\n");
  for (const FiredRule& rule : diagnosis.rules) con.Print(White, "  %s\n", rule.text.c_str());
  con.NewLine();
  PrintTextRow(con, "Device name", reading.device_name);
  const Json& errors = document.at("errors");
  Row(con, "Family", document.at("family"), errors, "family", "");
  if (reading.family && InfoOf(*reading.family).read_seal == nullptr) {
    PrintLabel(con, "Seal");
    con.Print(White, "none (the family has no security mode)\n");
  } else {
    Row(con, "Seal", document.at("seal"), errors, "seal", "");
  }
  Row(con, "Temperature", document.at("temperature_C"), errors, "temperature_C", " C");
  Row(con, "Current", document.at("current_mA"), errors, "current_mA", " mA");
  const Json& cells = document.at("cell_voltages_mV");
  if (cells.is_array()) {
    for (std::size_t n = 0; n < cells.size(); ++n) {
      if (cells[n].is_null()) continue;  // no cell in this position
      PrintLabel(con, ("Cell " + std::to_string(n + 1)).c_str());
      con.Print(White, "%d mV\n", cells[n].get<int>());
    }
  } else {
    Row(con, "Cell voltages", cells, errors, "cell_voltages_mV", "");
  }
  const Json& lifetime = document.at("lifetime");
  if (lifetime.is_object()) {
    const auto list = [](const Json& voltages) {
      std::string text;
      for (const Json& cell : voltages) text += (text.empty() ? "" : ", ") + cell.dump();
      return text;
    };
    PrintLabel(con, "Lifetime cell maximum");
    con.Print(White, "%s mV\n", list(lifetime.at("max_cell_mV")).c_str());
    PrintLabel(con, "Lifetime cell minimum");
    con.Print(White, "%s mV\n", list(lifetime.at("min_cell_mV")).c_str());
    PrintLabel(con, "Lifetime cell difference");
    con.Print(White, "%d mV at most\n", lifetime.at("max_delta_cell_mV").get<int>());
  } else if (errors.contains("lifetime")) {
    Row(con, "Lifetime", lifetime, errors, "lifetime", "");
  }
  con.NewLine();
  con.Print(Cyan, "Registers\n");
  for (const RegisterReading& reg : reading.registers) PrintRegister(con, reg);
}

}  // namespace

int Diagnose(Program& p, const DiagnoseOptions& options) {
  const DiagnoseReading reading = ReadForDiagnosis(p, options.family);
  const Diagnosis diagnosis = Judge(reading);
  const Json document = Document(reading, diagnosis);
  if (options.json) {
    const std::string text = document.dump(2, ' ', true) + "\n";
    p.con.Write(text.data(), text.size());
  } else {
    PrintText(p, reading, diagnosis, document);
  }
  return NothingBlocks(diagnosis) ? kExitSuccess : kExitBlocked;
}

}  // namespace cli
