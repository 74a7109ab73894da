#pragma once
// The expression language of get and set expressions and row filters, after the variables have
// been substituted (QvSNMPRequest::Substitute).
//
// Arithmetic: decimal numbers (with fraction and exponent), "NOW" (the current local date and
// time as days since 1899-12-30), + - * / with the usual precedence, left to right, unary signs
// and parentheses. A malformed expression, or one whose result is not a finite number (a
// division by zero), raises -513.
//
// Logical: "|" (or) binds loosest, then "&" (and), then a leading "!" (not); parentheses group;
// text in double quotes is literal. An operand is "true", "false" or a comparison with the first
// of "<>", ">=", "<=", ">", "<", "=" that it contains: "<>" and "=" compare texts (blanks around
// and double quotes removed), the others numbers ("NOW" allowed). Anything else raises
// "(QvCommon) Bad logic operand!" (code -1).
#include <QString>

namespace qv {

double EvaluateArithmetic(const QString& expression);
bool EvaluateLogical(const QString& expression);

// The current local date and time as days since 1899-12-30 (the bcdatetime number).
double NowAsDays();

} // namespace qv
