#pragma once
// "Status \ Stats \ Ethernet": the four counters of the access point's Ethernet port.
#include "snmplib/varlist.h"

namespace tables::ethernet {

// Scalars, read together (SVT_SV: at their OIDs with ".0").
inline constexpr QvSNMPVarDef kCounters[] = {
    {"devMib.4.3.2.1.1", "dot3TransmittedFrameCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.2.1.2", "dot3ReceivedFrameCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.2.1.3", "dot3TransmittedByteCount", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.3.2.1.4", "dot3ReceivedByteCount", QvSyntax::integer, QvAccess::readonly},
};
enum CounterVar { kTxFrames, kRxFrames, kTxBytes, kRxBytes };

} // namespace tables::ethernet
