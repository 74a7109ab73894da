#pragma once
// "Status \ Stats \ WLAN 802.11G" (TFM_Static): the wireless traffic counters of radio instance
// 1, devMib.4.3.1.1.<i + 1>.1 for the variable with index i.
#include "snmplib/varlist.h"

namespace tables::statistics {

inline constexpr QvSNMPVarDef kCounters[] = {
    {"devMib.4.3.1.1.1.1", "TrSuccessRate", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.2.1", "TrRetryRate", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.3.1", "RxSuccessRate", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.4.1", "RxDuplicateRate", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.5.1", "RTSSuccessCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.6.1", "RTSFailureCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.7.1", "TrFrameCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.8.1", "MuticastTrFrameCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.9.1", "TrErrorCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.10.1", "TrTotalRetryCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.11.1", "TrMutiRetryCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.12.1", "RxFrameCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.13.1", "MuticastRxFrameCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.14.1", "RxFrameFCSErrorCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.15.1", "RxFrameDulicateCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.16.1", "AckRxFailureCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.17.1", "WEPExcludedFrameCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.18.1", "WEPICVErrorCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.19.1", "stTransmitedByteCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.1.1.20.1", "stReceivedByteCount", QvSyntax::integer, QvAccess::readonly},
};
enum CounterVar {
    kTrSuccessRate,
    kTrRetryRate,
    kRxSuccessRate,
    kRxDuplicateRate,
    kRtsSuccessCount,
    kRtsFailureCount,
    kTrFrameCount,
    kMulticastTrFrameCount,
    kTrErrorCount,
    kTrTotalRetryCount,
    kTrMultiRetryCount,
    kRxFrameCount,
    kMulticastRxFrameCount,
    kRxFrameFcsErrorCount,
    kRxFrameDuplicateCount,
    kAckRxFailureCount,
    kWepExcludedFrameCount,
    kWepIcvErrorCount,
    kTransmittedByteCount,
    kReceivedByteCount,
    kCounterCount
};

} // namespace tables::statistics
