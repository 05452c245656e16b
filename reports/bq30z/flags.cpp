// The bq30z's status-register flags: the names its report prints, with what
// each means and does to the pack, for diagnose. The family's published
// layouts are few: effects here are "may" unless the bq40z's are confirmed.

#include "reports/bq30z/internal.h"

namespace reports::bq30z_family {

namespace {

constexpr Effect kInfo = Effect::Info;
constexpr Effect kNoCharge = Effect::BlocksCharge;
constexpr Effect kNoDischarge = Effect::BlocksDischarge;
constexpr Effect kMayNoCharge = Effect::MayBlockCharge;
constexpr Effect kMayNoDischarge = Effect::MayBlockDischarge;
constexpr Effect kMayNeither = Effect::MayBlockBoth;
constexpr Effect kPermanent = Effect::Permanent;

}  // namespace

const FlagName kOperationStatusFlags[] = {
    {29, " FetOf", "FETs off", kMayNeither},
    {28, " XLSBS", "400 kHz bus mode", kInfo},
    {27, " SLPC", "coulomb counter measuring in sleep", kInfo},
    {26, " SLPQM", "QMax update in sleep", kInfo},
    {25, " SMBLCL", "coulomb counter calibration while the bus is low", kInfo},
    {24, " INIT", "initialising after a full reset", kInfo},
    {23, " SleepM", "sleep requested by command", kInfo},
    {22, " SDV", "shutdown for low voltage", kMayNoDischarge},
    {21, " CALO", "raw coulomb counter offset calibration output", kInfo},
    {20, " FVS", "firmware verification", kInfo},
    {19, " AWD", "AFE watchdog", kInfo},
    {18, " AUTH", "authentication in progress", kInfo},
    {17, " SHIPm", "ship mode", kInfo},
    {16, " SDM", "shutdown by command", kInfo},
    {15, " Sleep", "sleep conditions met", kInfo},
    {14, " XCHG", "charging disabled", kNoCharge},
    {13, " XDSG", "discharging disabled", kNoDischarge},
    {12, " PF", "permanent failure active", kPermanent},
    {11, " SS", "a safety protection has tripped (see SafetyStatus)", kMayNeither},
    {10, " CAL", "calibration output active", kInfo},
    {9, " SEC1", "security mode, high bit", kInfo},
    {8, " SEC0", "security mode, low bit", kInfo},
    {7, " LED", "LED display on", kInfo},
    {6, " CB", "cell balancing active", kInfo},
    {5, " FUSE", "fuse output active", kPermanent},
    {4, " GPOD", "general-purpose open-drain output active", kInfo},
    {3, " PCHG", "precharge FET on", kInfo},
    {2, " CHG", "charge FET on", kInfo},
    {1, " DSG", "discharge FET on", kInfo},
    {0, " PRES", "system present (PRES pin low)", kInfo},
};

const FlagName kGaugingStatusFlags[] = {
    {15, " LFP_RLX", "LiFePO4 relax"},
    {14, " TCA", "terminate charge"},
    {13, " TDA", "terminate discharge"},
    {12, " OCVFR", "in the flat region of the open-circuit voltage"},
    {11, " LDMD", "load mode"},
    {10, " RX", "resistance updated"},
    {9, " QMAX", "QMax updated"},
    {8, " VDQ", "discharge qualified for learning"},
    {7, " NSFM", "negative scale factor mode"},
    {6, " FC", "fully charged"},
    {5, " FD", "fully discharged"},
    {4, " QEN", "impedance track on (QMax updates)"},
    {3, " VOK", "voltage OK for a QMax update"},
    {2, " RU", "resistance updates on"},
    {1, " DSG", "discharging or at rest"},
    {0, " REST", "open-circuit voltage taken at rest"},
};

const FlagName kManufacturingStatusFlags[] = {
    {15, " CAL", "calibration mode"},
    {9, " LED", "LED display enabled"},
    {8, " FUSE", "fuse action enabled"},
    {7, " BBR", "black box recorder enabled"},
    {6, " PF", "permanent failure protections enabled"},
    {5, " LF", "lifetime data collection enabled"},
    {4, " FET", "firmware FET control enabled"},
    {3, " GAUGE", "gauging enabled"},
    {2, " DSG", "discharge FET test on"},
    {1, " CHG", "charge FET test on"},
    {0, " PCHG", "precharge FET test on"},
};

const FlagName kSafetyStatusFlags[] = {
    {31, " RSVD", "reserved", kInfo},
    {30, " RSVD", "reserved", kInfo},
    {29, " RSVD", "reserved", kInfo},
    {28, " RSVD", "reserved", kInfo},
    {27, " UTD", "undertemperature while not charging", kMayNoDischarge},
    {26, " UTC", "undertemperature while charging", kMayNoCharge},
    {25, " PCHGC", "precharge current too high", kMayNoCharge},
    {24, " CHGV", "charger voltage above the requested voltage", kMayNoCharge},
    {23, " CHGC", "charger current above the requested current", kMayNoCharge},
    {22, " OC", "overcharge", kMayNoCharge},
    {21, " RSVD", "reserved", kInfo},
    {20, " CTO", "charge timeout", kMayNoCharge},
    {19, " RSVD", "reserved", kInfo},
    {18, " PTO", "precharge timeout", kMayNoCharge},
    {17, " HWDF", "host watchdog fault", kInfo},
    {16, " OTF", "FET overtemperature", kMayNeither},
    {15, " RSVD", "reserved", kInfo},
    {14, " RSVD", "reserved", kInfo},
    {13, " OTD", "overtemperature in discharge", kMayNoDischarge},
    {12, " OTC", "overtemperature in charge", kMayNoCharge},
    {11, " ASCDL", "short circuit in discharge, latched", kMayNoDischarge},
    {10, " ASCD", "short circuit in discharge", kMayNoDischarge},
    {9, " ASCCL", "short circuit in charge, latched", kMayNoCharge},
    {8, " ASCC", "short circuit in charge", kMayNoCharge},
    {7, " AOLDL", "overload in discharge, latched", kMayNoDischarge},
    {6, " AOLD", "overload in discharge", kMayNoDischarge},
    {5, " OCD2", "overcurrent in discharge, tier 2", kMayNoDischarge},
    {4, " OCD1", "overcurrent in discharge, tier 1", kMayNoDischarge},
    {3, " OCC2", "overcurrent in charge, tier 2", kMayNoCharge},
    {2, " OCC1", "overcurrent in charge, tier 1", kMayNoCharge},
    {1, " COV", "cell overvoltage", kMayNoCharge},
    {0, " CUV", "cell undervoltage", kMayNoDischarge},
};

const FlagName kPfStatusFlags[] = {
    {31, " TS4", "thermistor TS4 open", kPermanent},
    {30, " TS3", "thermistor TS3 open", kPermanent},
    {29, " TS2", "thermistor TS2 open", kPermanent},
    {28, " TS1", "thermistor TS1 open", kPermanent},
    {27, " RSVD", "reserved", kPermanent},
    {26, " DFW", "data flash worn out", kPermanent},
    {25, " OPNC", "open cell tab connection", kPermanent},
    {24, " IFC", "instruction flash checksum failure", kPermanent},
    {23, " PTC", "PTC failure", kPermanent},
    {22, " 2LVL", "second-level protector tripped", kPermanent},
    {21, " AFEC", "AFE communication failure", kPermanent},
    {20, " AFER", "AFE register failure", kPermanent},
    {19, " FUSE", "chemical fuse failure", kPermanent},
    {18, " RSVD", "reserved", kPermanent},
    {17, " DFETF", "discharge FET failure", kPermanent},
    {16, " CFETF", "charge FET failure", kPermanent},
    {15, " RSVD", "reserved", kPermanent},
    {14, " RSVD", "reserved", kPermanent},
    {13, " RSVD", "reserved", kPermanent},
    {12, " VIMA", "voltage imbalance while active", kPermanent},
    {11, " VIMR", "voltage imbalance at rest", kPermanent},
    {10, " RSVD", "reserved", kPermanent},
    {9, " RSVD", "reserved", kPermanent},
    {8, " RSVD", "reserved", kPermanent},
    {7, " RSVD", "reserved", kPermanent},
    {6, " SOTF", "safety overtemperature of a FET", kPermanent},
    {5, " RSVD", "reserved", kPermanent},
    {4, " SOT", "safety overtemperature of a cell", kPermanent},
    {3, " SOCD", "safety overcurrent in discharge", kPermanent},
    {2, " SOCC", "safety overcurrent in charge", kPermanent},
    {1, " SOV", "safety cell overvoltage", kPermanent},
    {0, " SUV", "safety cell undervoltage", kPermanent},
};

const FlagName kChargingStatusFlags[] = {
    {18, " MCHG", "maintenance charge", kInfo},
    {16, " VCT", "valid charge termination reached", kInfo},
    {15, " CCC", "charging current loss compensation", kInfo},
    {14, " CVR", "charging voltage rate of change active", kInfo},
    {13, " CCR", "charging current rate of change active", kInfo},
    {12, " SU", "charge suspended", kMayNoCharge},
    {11, " IN", "charge inhibited", kMayNoCharge},
    {10, " HV", "high voltage region", kInfo},
    {9, " MV", "mid voltage region", kInfo},
    {8, " LV", "low voltage region", kInfo},
    {7, " PV", "precharge voltage region", kInfo},
    {6, " OT", "over-temperature region (no charging)", kMayNoCharge},
    {5, " HT", "high temperature region", kInfo},
    {4, " STH", "standard temperature high region", kInfo},
    {3, " RT", "recommended temperature region", kInfo},
    {2, " STL", "standard temperature low region", kInfo},
    {1, " LT", "low temperature region", kInfo},
    {0, " UT", "under-temperature region (no charging)", kMayNoCharge},
};

}  // namespace reports::bq30z_family
