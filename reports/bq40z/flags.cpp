// The bq40z's status-register flags: the names its report prints (their
// spelling and padding as the report shows them), with what each means and
// does to the pack, for diagnose.

#include "reports/bq40z/internal.h"

namespace reports::bq40z_family {

namespace {

constexpr Effect kInfo = Effect::Info;
constexpr Effect kNoCharge = Effect::BlocksCharge;
constexpr Effect kNoDischarge = Effect::BlocksDischarge;
constexpr Effect kMayNoCharge = Effect::MayBlockCharge;
constexpr Effect kMayNoDischarge = Effect::MayBlockDischarge;
constexpr Effect kMayNeither = Effect::MayBlockBoth;
constexpr Effect kPermanent = Effect::Permanent;

}  // namespace

// The byte-0 names end in a blank of their own.
const FlagName kOperationStatusFlags[] = {
    {29, " EMshut", "emergency FET shutdown", kMayNeither},
    {28, " CB", "cell balancing active", kInfo},
    {27, " SLPCC", "coulomb counter measuring in sleep", kInfo},
    {26, " SLPAD", "ADC measuring in sleep", kInfo},
    {25, " SMBLCL", "coulomb counter calibration while the bus is low", kInfo},
    {24, " INIT", "initialising after a full reset", kInfo},
    {23, " SleepM", "sleep requested by command", kInfo},
    {22, " XL", "400 kHz bus mode", kInfo},
    {21, " CALofs", "raw coulomb counter offset calibration output", kInfo},
    {20, " CAL", "raw calibration output active", kInfo},
    {19, " ACALM", "automatic coulomb counter offset calibration", kInfo},
    {18, " AUTH", "authentication in progress", kInfo},
    {17, " LED", "LED display on", kInfo},
    {16, " SDM", "shutdown by command", kInfo},
    {15, " Sleep", "sleep conditions met", kInfo},
    {14, " XCHG", "charging disabled", kNoCharge},
    {13, " XDSG", "discharging disabled", kNoDischarge},
    {12, " PF", "permanent failure active", kPermanent},
    {11, " SS", "a safety protection has tripped (see SafetyStatus)", kMayNeither},
    {10, " SDV", "shutdown for low voltage", kMayNoDischarge},
    {9, " SEC1", "security mode, high bit", kInfo},
    {8, " SEC0", "security mode, low bit", kInfo},
    {7, " BTPint ", "battery trip point interrupt", kInfo},
    {6, " RSVD ", "reserved", kInfo},
    {5, " FUSE ", "fuse output active", kPermanent},
    {4, " RSVD ", "reserved", kInfo},
    {3, " PCHG ", "precharge FET on", kInfo},
    {2, " CHG ", "charge FET on", kInfo},
    {1, " DSG ", "discharge FET on", kInfo},
    {0, " PRES ", "system present (PRES pin low)", kInfo},
};

const FlagName kGaugingStatusFlags[] = {
    {20, " OCVFR", "in the flat region of the open-circuit voltage"},
    {19, " LDMD", "load mode"},
    {18, " RX", "resistance updated"},
    {17, " QMAX", "QMax updated"},
    {16, " VDQ", "discharge qualified for learning"},
    {15, " NSFM", "negative scale factor mode"},
    {13, " SlpQmax", "QMax update during sleep"},
    {12, " QEN", "impedance track on (QMax updates)"},
    {11, " VOK", "voltage OK for a QMax update"},
    {10, " R_DIS", "resistance updates disabled"},
    {8, " REST", "open-circuit voltage taken at rest"},
    {7, " CF", "condition flag: a learning cycle is needed"},
    {6, " DSG", "discharging or at rest"},
    {5, " EDV", "end-of-discharge voltage reached"},
    {4, " BAL-En", "cell balancing possible"},
    {3, " TC", "terminate charge"},
    {2, " TD", "terminate discharge"},
    {1, " FC", "fully charged"},
    {0, " FD", "fully discharged"},
};

const FlagName kManufacturingStatusFlags[] = {
    {15, " CAL", "calibration mode"},
    {14, " LTtst ", "lifetime speed-up mode"},
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
    {29, " OCDL", "overcurrent in discharge, latched", kMayNoDischarge},
    {28, " COVL", "cell overvoltage, latched", kMayNoCharge},
    {27, " UTD", "undertemperature while not charging", kNoDischarge},
    {26, " UTC", "undertemperature while charging", kMayNoCharge},
    {25, " PCHGC", "precharge current too high", kMayNoCharge},
    {24, " CHGV", "charger voltage above the requested voltage", kMayNoCharge},
    {23, " CHGC", "charger current above the requested current", kMayNoCharge},
    {22, " OC", "overcharge", kMayNoCharge},
    {20, " CTO", "charge timeout", kMayNoCharge},
    {18, " PTO", "precharge timeout", kMayNoCharge},
    {16, " OTF", "FET overtemperature", kMayNeither},
    {14, " CUVC", "cell undervoltage (IR-compensated)", kMayNoDischarge},
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
    {3, " OCC2", "overcurrent in charge, tier 2", kNoCharge},
    {2, " OCC1", "overcurrent in charge, tier 1", kNoCharge},
    {1, " COV", "cell overvoltage", kMayNoCharge},
    {0, " CUV", "cell undervoltage", kMayNoDischarge},
};

const FlagName kPfStatusFlags[] = {
    {31, " TS4", "thermistor TS4 open", kPermanent},
    {30, " TS3", "thermistor TS3 open", kPermanent},
    {29, " TS2", "thermistor TS2 open", kPermanent},
    {28, " TS1", "thermistor TS1 open", kPermanent},
    {26, " DFW", "data flash worn out", kPermanent},
    {25, " OPNC", "open cell tab connection", kPermanent},
    {24, " IFC", "instruction flash checksum failure", kPermanent},
    {23, " PTC", "PTC failure", kPermanent},
    {22, " 2LVL", "second-level protector tripped", kPermanent},
    {21, " AFEC", "AFE communication failure", kPermanent},
    {20, " AFER", "AFE register failure", kPermanent},
    {19, " FUSE", "chemical fuse failure", kPermanent},
    {17, " DFETF", "discharge FET failure", kPermanent},
    {16, " CFETF", "charge FET failure", kPermanent},
    {12, " VIMA", "voltage imbalance while active", kPermanent},
    {11, " VIMR", "voltage imbalance at rest", kPermanent},
    {6, " SOTF", "safety overtemperature of a FET", kPermanent},
    {4, " SOT", "safety overtemperature of a cell", kPermanent},
    {3, " SOCD", "safety overcurrent in discharge", kPermanent},
    {2, " SOCC", "safety overcurrent in charge", kPermanent},
    {1, " SOV", "safety cell overvoltage", kPermanent},
    {0, " SUV", "safety cell undervoltage", kPermanent},
};

const FlagName kChargingStatusFlags[] = {
    {19, " NCT", "near charge termination"},
    {18, " CCC", "charging current loss compensation"},
    {17, " CVR", "charging voltage rate of change active"},
    {16, " CCR", "charging current rate of change active"},
    {15, " VCT", "valid charge termination reached"},
    {14, " MCHG", "maintenance charge"},
    {13, " SU", "charge suspended", kMayNoCharge},
    {12, " IN", "charge inhibited", kMayNoCharge},
    {11, " HV", "high voltage region"},
    {10, " MV", "mid voltage region"},
    {9, " LV", "low voltage region"},
    {8, " PV", "precharge voltage region"},
    {6, " OT", "over-temperature region (no charging)", kMayNoCharge},
    {5, " HT", "high temperature region"},
    {4, " STH", "standard temperature high region"},
    {3, " RT", "recommended temperature region"},
    {2, " STL", "standard temperature low region"},
    {1, " LT", "low temperature region"},
    {0, " UT", "under-temperature region (no charging)", kMayNoCharge},
};

// The pre-trip alerts that the report does not show.
const FlagName kSafetyAlertFlags[] = {
    {29, " OCDL", "overcurrent in discharge, latch"},
    {28, " COVL", "cell overvoltage, latch"},
    {27, " UTD", "undertemperature while not charging"},
    {26, " UTC", "undertemperature while charging"},
    {25, " PCHGC", "precharge current too high"},
    {24, " CHGV", "charger voltage above the requested voltage"},
    {23, " CHGC", "charger current above the requested current"},
    {22, " OC", "overcharge"},
    {21, " CTOS", "charge timeout suspend"},
    {20, " CTO", "charge timeout"},
    {19, " PTOS", "precharge timeout suspend"},
    {18, " PTO", "precharge timeout"},
    {16, " OTF", "FET overtemperature"},
    {14, " CUVC", "cell undervoltage (IR-compensated)"},
    {13, " OTD", "overtemperature in discharge"},
    {12, " OTC", "overtemperature in charge"},
    {11, " ASCDL", "short circuit in discharge, latch"},
    {9, " ASCCL", "short circuit in charge, latch"},
    {7, " AOLDL", "overload in discharge, latch"},
    {5, " OCD2", "overcurrent in discharge, tier 2"},
    {4, " OCD1", "overcurrent in discharge, tier 1"},
    {3, " OCC2", "overcurrent in charge, tier 2"},
    {2, " OCC1", "overcurrent in charge, tier 1"},
    {1, " COV", "cell overvoltage"},
    {0, " CUV", "cell undervoltage"},
};

}  // namespace reports::bq40z_family
