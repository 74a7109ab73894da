#pragma once
// The library code of the QvException that a call raises, or 0 when it raises none.
#include "snmplib/qv_exception.h"

template <class Call> int RaisedCode(Call&& call) {
    try {
        call();
    } catch (const QvException& e) {
        return e.code();
    }
    return 0;
}
