// The bq20z's status-register flags: the names its report prints, with what
// each means and does to the pack, for diagnose.

#include "reports/bq20z/internal.h"

namespace reports::bq20z_family {

using namespace effects;

const FlagName kOperationStatusFlags[] = {
    {15, " PRES", "system present (PRES pin low)", kInfo},
    {14, " FAS", "full access locked", kInfo},
    {13, " SS", "sealed", kInfo},
    {12, " CSV", "data flash checksum valid", kInfo},
    {10, " LDMD", "load mode", kInfo},
    {7, " WAKE", "wake-up active", kInfo},
    {6, " DSG", "discharging or at rest", kInfo},
    {5, " XDSG", "discharging disabled", kNoDischarge},
    {4, " XDSGI", "discharging disabled for current", kMayNoDischarge},
    {3, " DSGIN", "reserved in the published layouts", kInfo},
    {2, " R_DIS", "resistance updates disabled", kInfo},
    {1, " VOK", "voltage OK for a QMax update", kInfo},
    {0, " QEN", "impedance track on (QMax updates)", kInfo},
};

// SafetyAlert has the same layout.
const FlagName kSafetyStatusFlags[] = {
    {15, " OTD", "overtemperature in discharge", kMayNoDischarge},
    {14, " OTC", "overtemperature in charge", kMayNoCharge},
    {13, " OCD", "overcurrent in discharge", kMayNoDischarge},
    {12, " OCC", "overcurrent in charge", kMayNoCharge},
    {11, " OCD2", "overcurrent in discharge, tier 2", kMayNoDischarge},
    {10, " OCC2", "overcurrent in charge, tier 2", kMayNoCharge},
    {9, " PUV", "pack undervoltage", kMayNoDischarge},
    {8, " POV", "pack overvoltage", kMayNoCharge},
    {7, " CUV", "cell undervoltage", kMayNoDischarge},
    {6, " COV", "cell overvoltage", kMayNoCharge},
    {5, " PF", "permanent failure set", kPermanent},
    {4, " HWDG", "host watchdog fault", kInfo},
    {3, " WDF", "AFE watchdog fault", kInfo},
    {2, " AOCD", "AFE overcurrent in discharge", kMayNoDischarge},
    {1, " SCC", "short circuit in charge", kMayNoCharge},
    {0, " SCD", "short circuit in discharge", kMayNoDischarge},
};

// PFAlert has the same layout.
const FlagName kPfStatusFlags[] = {
    {15, " FBF", "fuse blow failure (the fuse did not cut the current)", kPermanent},
    {13, " SUV", "safety cell undervoltage", kPermanent},
    {12, " SOPT", "open thermistor", kPermanent},
    {11, " SOCD", "safety overcurrent in discharge", kPermanent},
    {10, " SOCC", "safety overcurrent in charge", kPermanent},
    {9, " AFE_P", "periodic AFE communication failure", kPermanent},
    {8, " AFE_C", "AFE communication failure", kPermanent},
    {7, " DFF", "data flash fault", kPermanent},
    {6, " DFETF", "discharge FET failure", kPermanent},
    {5, " CFETF", "charge FET failure", kPermanent},
    {4, " CIM_R", "cell imbalance", kPermanent},
    {3, " SOTD", "safety overtemperature in discharge", kPermanent},
    {2, " SOTC", "safety overtemperature in charge", kPermanent},
    {1, " SOV", "safety overvoltage", kPermanent},
    {0, " PFIN", "external permanent failure input", kPermanent},
};

const FlagName kChargingStatusFlags[] = {
    {15, " XCHG", "charging disabled", kNoCharge},
    {14, " CHGSUSP", "charge suspended", kNoCharge},
    {13, " PCHG", "precharging", kInfo},
    {12, " MCHG", "maintenance charge", kInfo},
    {11, " TCHG1", "temperature charge range 1", kInfo},
    {10, " TCHG2", "temperature charge range 2", kInfo},
    {9, " FCHG", "fast charging", kInfo},
    {8, " PULSE", "pulse charging", kInfo},
    {7, " PLSOFF", "pulse charge off phase", kInfo},
    {6, " CB", "cell balancing active", kInfo},
    {5, " PCMTO", "precharge timeout", kMayNoCharge},
    {4, " FCMTO", "fast-charge timeout", kMayNoCharge},
    {3, " OCHGV", "overcharge voltage", kMayNoCharge},
    {2, " OCHGI", "overcharge current", kMayNoCharge},
    {1, " OC", "overcharge", kMayNoCharge},
    {0, " XCHGLV", "charging disabled, low voltage", kMayNoCharge},
};

}  // namespace reports::bq20z_family
