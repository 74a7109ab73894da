// net-snmp's error numbers are named here so that each row of the translation is checked against
// the constant it stands for.
#include "snmplib/exchange.h"
#include "snmplib/messages.h"

#include <gtest/gtest.h>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

namespace {

struct TranslationCase {
    int error;
    const char* name;
    int code; // library code after MapResult
};

#define ROW(e, code)                                                                               \
    { e, #e, code }

TEST(NetSnmpResults, EveryNetSnmpErrorHasItsLibraryCode) {
    const TranslationCase cases[] = {
        ROW(SNMPERR_SUCCESS, 0),
        ROW(SNMPERR_GENERR, -401),
        ROW(SNMPERR_BAD_LOCPORT, -421),
        ROW(SNMPERR_BAD_ADDRESS, -418),
        ROW(SNMPERR_BAD_SESSION, -410),
        ROW(SNMPERR_TOO_LONG, -411),
        ROW(SNMPERR_NO_SOCKET, -422),
        ROW(SNMPERR_V2_IN_V1, -416),
        ROW(SNMPERR_V1_IN_V2, -416),
        ROW(SNMPERR_BAD_REPEATERS, -411),
        ROW(SNMPERR_BAD_REPETITIONS, -411),
        ROW(SNMPERR_BAD_ASN1_BUILD, -212),
        ROW(SNMPERR_BAD_SENDTO, -422),
        ROW(SNMPERR_BAD_PARSE, -207),
        ROW(SNMPERR_BAD_VERSION, -404),
        ROW(SNMPERR_BAD_SRC_PARTY, -401),
        ROW(SNMPERR_BAD_DST_PARTY, -401),
        ROW(SNMPERR_BAD_CONTEXT, -216),
        ROW(SNMPERR_BAD_COMMUNITY, -210),
        ROW(SNMPERR_NOAUTH_DESPRIV, -303),
        ROW(SNMPERR_BAD_ACL, -401),
        ROW(SNMPERR_BAD_PARTY, -401),
        ROW(SNMPERR_ABORT, -401),
        ROW(SNMPERR_UNKNOWN_PDU, -214),
        ROW(SNMPERR_TIMEOUT, -405),
        ROW(SNMPERR_BAD_RECVFROM, -422),
        ROW(SNMPERR_BAD_ENG_ID, -205),
        ROW(SNMPERR_BAD_SEC_NAME, -304),
        ROW(SNMPERR_BAD_SEC_LEVEL, -303),
        ROW(SNMPERR_ASN_PARSE_ERR, -207),
        ROW(SNMPERR_UNKNOWN_SEC_MODEL, -201),
        ROW(SNMPERR_INVALID_MSG, -204),
        ROW(SNMPERR_UNKNOWN_ENG_ID, -310),
        ROW(SNMPERR_UNKNOWN_USER_NAME, -304),
        ROW(SNMPERR_UNSUPPORTED_SEC_LEVEL, -303),
        ROW(SNMPERR_AUTHENTICATION_FAILURE, -308),
        ROW(SNMPERR_NOT_IN_TIME_WINDOW, -311),
        ROW(SNMPERR_DECRYPTION_ERR, -306),
        ROW(SNMPERR_SC_GENERAL_FAILURE, -301),
        ROW(SNMPERR_SC_NOT_CONFIGURED, -301),
        ROW(SNMPERR_KT_NOT_AVAILABLE, -301),
        ROW(SNMPERR_UNKNOWN_REPORT, -217),
        ROW(SNMPERR_USM_GENERICERROR, -301),
        ROW(SNMPERR_USM_UNKNOWNSECURITYNAME, -304),
        ROW(SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL, -303),
        ROW(SNMPERR_USM_ENCRYPTIONERROR, -305),
        ROW(SNMPERR_USM_AUTHENTICATIONFAILURE, -308),
        ROW(SNMPERR_USM_PARSEERROR, -309),
        ROW(SNMPERR_USM_UNKNOWNENGINEID, -310),
        ROW(SNMPERR_USM_NOTINTIMEWINDOW, -311),
        ROW(SNMPERR_USM_DECRYPTIONERROR, -306),
        ROW(SNMPERR_NOMIB, -417),
        ROW(SNMPERR_RANGE, -411),
        ROW(SNMPERR_MAX_SUBID, -417),
        ROW(SNMPERR_BAD_SUBID, -417),
        ROW(SNMPERR_LONG_OID, -417),
        ROW(SNMPERR_BAD_NAME, -417),
        ROW(SNMPERR_VALUE, -411),
        ROW(SNMPERR_UNKNOWN_OBJID, -417),
        ROW(SNMPERR_NULL_PDU, -411),
        ROW(SNMPERR_NO_VARS, -411),
        ROW(SNMPERR_VAR_TYPE, -411),
        ROW(SNMPERR_MALLOC, -402),
        ROW(SNMPERR_KRB5, -401),
        ROW(SNMPERR_PROTOCOL, -401),
        ROW(SNMPERR_OID_NONINCREASING, -401),
        ROW(SNMPERR_JUST_A_CONTEXT_PROBE, -401),
        ROW(SNMPERR_TRANSPORT_NO_CONFIG, -420),
        ROW(SNMPERR_TRANSPORT_CONFIG_ERROR, -420),
        ROW(SNMPERR_TLS_NO_CERTIFICATE, -420),
        // Numbers net-snmp does not have (yet): "Unknown error code".
        ROW(SNMPERR_MAX - 1, -409),
        ROW(1, -409),
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::MapResult(qv::detail::resultOfNetSnmpError(c.error)).code, c.code) << c.name;
    // Every error net-snmp defines has a row above.
    EXPECT_EQ(SNMPERR_MAX, SNMPERR_TLS_NO_CERTIFICATE);
}

#undef ROW

} // namespace
