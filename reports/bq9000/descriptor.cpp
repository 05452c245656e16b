// The bq9000 family as the command line sees it: no security mode, and no
// status registers that diagnose knows.

#include "reports/bq9000/bq9000.h"
#include "reports/bq9000/protocol.h"

namespace reports {

namespace bq9000_family {

namespace {

// The menu's names of the family's gauges.
const char* const kNameWords[] = {"bq9000", "bq8050", "bq8055", "bq8030", "m37512"};

// Its mode register 0x72, or a boot ROM's word in 0x0D.
PathAnswer ModeRegister(core::Program& p, bool /*probe*/) {
  return {ModeWordsIdentifyFamily(ReadModeWords(p)), std::nullopt};
}

}  // namespace

}  // namespace bq9000_family

const FamilyDescriptor kBq9000Family = {
    .family = Family::bq9000,
    .name = "bq9000",
    .menu_choice = '4',
    .report = bq9000,
    .name_words = bq9000_family::kNameWords,
    .read_path = bq9000_family::ModeRegister,
    .path = "mode register 0x72",
    .path_reads_device_type = false,
    .probe_rank = 1,
    .read_seal = nullptr,
};

}  // namespace reports
