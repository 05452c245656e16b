#pragma once
// The verdict rules of diagnose, in their order of precedence, on what was
// read. A rule that rests on a fact no maker's text confirms says "may".

#include <string>
#include <vector>

#include "cli/diagnose_read.h"

namespace cli {

struct FiredRule {
  const char* code;  // a verdict code, or "battery_status" and "sealed" for information
  std::string text;
};

struct Diagnosis {
  const char* verdict;  // the first fired rule's verdict code, else "ok"
  std::string text;
  std::vector<FiredRule> rules;  // every rule that fired, in order
};

Diagnosis Judge(const DiagnoseReading& reading);

// Whether no rule found charging or discharging blocked, a permanent
// failure or an unreadable status: the exit status 0.
bool NothingBlocks(const Diagnosis& diagnosis);

// What a flag does, in words ("may block charging") and as a JSON code.
const char* EffectText(reports::Effect effect);
const char* EffectCode(reports::Effect effect);

}  // namespace cli
