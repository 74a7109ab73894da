// The expression language of get and set expressions and row filters: arithmetic and logical.
#include "snmplib/expression.h"
#include "snmplib/qv_exception.h"
#include "tests/fuzz/fuzz_support.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::start();
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        // A result that is not a finite number is refused, never handed on.
        KW_FUZZ_CHECK(std::isfinite(qv::EvaluateArithmetic(text)));
    } catch (const QvException& e) {
        KW_FUZZ_CHECK(e.code() == -513);
    }
    try {
        (void)qv::EvaluateLogical(text);
    } catch (const QvException& e) {
        KW_FUZZ_CHECK(e.code() == -1 || e.code() == -513);
    }
    return 0;
}
