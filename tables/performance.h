#pragma once
// "Advanced \ Performance": the radio's performance settings (instance 1), the optional settings
// each device generation answers for, the data-rate control and its table of per-rate states.
#include "tables/wireless.h"

namespace tables::performance {

using namespace wireless;

inline constexpr QvOptionSource kTransmitPower[] = {
    {1, "Full"}, {2, "Half(-3dB)"}, {3, "Quarter(-6dB)"}, {4, "Eighth(-9dB)"}, {5, "Min"}};
inline constexpr QvOptionSource kPreamble[] = {{0, "Long Only"}, {1, "Short and Long"}};
inline constexpr QvOptionSource kAntenna[] = {
    {0, "Diversity"}, {1, "Left Antenna"}, {2, "Right Antenna"}};
inline constexpr QvOptionSource kRateStatus[] = {{0, "Disable"}, {1, "Enable"}, {2, "Basic"}};

// One-variable lists; instance lists (MVT_SV) carry their instance, scalars (SVT_SV) get ".0".
enum SingleVar { kValue };
inline constexpr QvSNMPVarDef kApModeList[] = {
    {"devMib.2.1.1.1.1", "adAPMode", integer, kRW, kApMode}};
inline constexpr QvSNMPVarDef kPriority[] = {
    {"devMib.2.9.4.1.1.1", "adMSSIDPriorityState", integer, kRW, kDisableEnable}};
inline constexpr QvSNMPVarDef kGOnly[] = {
    {"devMib.2.3.1.13.1", "ad80211gonly", integer, kRW, kDisableEnable}};
inline constexpr QvSNMPVarDef kXr[] = {{"devMib.2.3.1.99.1", "adXR", integer, kRW, kDisableEnable}};
inline constexpr QvSNMPVarDef kWmm[] = {{"devMib.2.3.1.17", "adWMM", integer, kRW, kDisableEnable}};
inline constexpr QvSNMPVarDef kPreambleList[] = {
    {"devMib.2.3.1.19", "adPreamble", integer, kRW, kPreamble}};
inline constexpr QvSNMPVarDef kAntennaList[] = {
    {"devMib.2.3.1.23", "adAntenna", integer, kRW, kAntenna}};
inline constexpr QvSNMPVarDef kDataRateSupport[] = {
    {"devMib.99.1.1.40", "dataratecontrolsupport", integer, kRO}};
inline constexpr QvSNMPVarDef kDataRateControl[] = {
    {"devMib.2.14.1.2.1", "adDatarateControlstatus", integer, kRW, kDisableEnable}};
inline constexpr QvSNMPVarDef kSnooping[] = {
    {"devMib.2.3.1.29.1", "igmpSnooping", integer, kRW, kDisableEnable}};
// The b/g mode list, the two Super G lists (by rogue AP support), the multi-SSID state and the
// automatic channel scan are the wireless page's: kBgModeList, kSuperG0, kSuperG1, kMultiState,
// kAutoChannelScan.

// Radio instance 1 (MVT_SV).
inline constexpr QvSNMPVarDef kRadio[] = {
    {"devMib.2.3.1.1.1", "adFrequency", displaystr, kRO},
    {"devMib.2.3.1.4.1", "adDataRate", displaystr, kRW},
    {"devMib.2.3.1.5.1", "adDataRateList", displaystr, kRO},
    {"devMib.2.3.1.6.1", "adBeaconInterval", integer, kRW},
    {"devMib.2.3.1.7.1", "adDTIM", integer, kRW},
    {"devMib.2.3.1.8.1", "adFragmentLength", integer, kRW},
    {"devMib.2.3.1.9.1", "adRTSLength", integer, kRW},
    {"devMib.2.3.1.10.1", "adTransmitPower", integer, kRW, kTransmitPower},
    {"devMib.2.3.1.12.1", "adRadioWave", integer, kRW, kRadioWave},
};
enum RadioVar {
    kFrequency,
    kDataRate,
    kDataRateList,
    kBeaconInterval,
    kDtim,
    kFragmentLength,
    kRtsLength,
    kTransmitPowerValue,
    kRadioWaveValue
};

// The per-rate table (MVT_UMV, one key): a row per rate, 1 to 54 Mb/s in the device's order.
inline constexpr QvSNMPVarDef kRateTable[] = {
    {"devMib.2.13.1.1.1", "adDataRateControlIndex", integer, QvAccess::notaccess},
    {"devMib.2.13.1.2.1", "adDataRateStatus", integer, kRW, kRateStatus},
};
enum RateVar { kRateIndex, kRateStatusValue };

} // namespace tables::performance
