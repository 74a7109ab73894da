#pragma once
// Texts that more than one page shows, exactly as the operator knows them.
#include <QString>

namespace pages::msg {

// Message box captions. "Waring" is the device generation's own spelling on some pages: kept.
inline const QString kWarning = QStringLiteral("Warning");
inline const QString kWaring = QStringLiteral("Waring");
inline const QString kError = QStringLiteral("Error");

// Status lines after an apply.
inline const QString kSetSuccess = QStringLiteral("Set Success!");
inline const QString kSetError = QStringLiteral("Set Error!");
inline const QString kSetOk = QStringLiteral("Set OK!");
inline const QString kSettingError = QStringLiteral("Setting Error!");
inline const QString kSettingSuccess = QStringLiteral("Setting Success!");
inline const QString k11gSettingError = QStringLiteral("IEEE802.11g Setting Error!");
inline const QString k11gSettingSuccess = QStringLiteral("IEEE802.11g Setting Success!");

// An address field left empty stands for no address.
inline const QString kFreeAddress = QStringLiteral("0.0.0.0");

// Address checks.
inline const QString kInvalidIpAddress = QStringLiteral("Please input valid IP Address.");
inline const QString kInvalidGateway = QStringLiteral("Please input valid Gateway.");
inline const QString kInvalidIpAddressLower = QStringLiteral("Please input valid IP address");
inline const QString kHexDigits = QStringLiteral("Please input  Hexadecimal digits!");

// Number ranges: "Please input a number between 1 and 255."
QString numberBetween(qint64 low, qint64 high);

} // namespace pages::msg
