#pragma once
// The library's result codes that code tests for or raises by name. Texts come from the message
// tables (snmplib/messages.h); the numbering is that of MapResult: -1xx SNMP error status,
// -2xx SNMPv3 message processing, -3xx USM, -4xx SNMP library, -5xx the library itself.
namespace qv::code {

inline constexpr int kNoSuchName = -102;
inline constexpr int kTimedOut = -405;

inline constexpr int kCannotCreateSession = -506;
inline constexpr int kBootCounterLoad = -507;
inline constexpr int kBootCounterSave = -508;
inline constexpr int kBadAddress = -509;
inline constexpr int kNextOnScalarList = -510;
inline constexpr int kBadSyntax = -511;
inline constexpr int kNullInExpression = -512;
inline constexpr int kBadExpression = -513;
inline constexpr int kBadKeyCount = -514;
inline constexpr int kBadListKind = -515;
inline constexpr int kBadPartSyntax = -517;
inline constexpr int kBadValue = -518;
inline constexpr int kOutOfRange = -519;
inline constexpr int kNoOptionList = -520;
inline constexpr int kBadControl = -521;
inline constexpr int kTooFewControls = -522;
inline constexpr int kUnknownError = -528;

} // namespace qv::code
