#pragma once
// Texts of the module that several parts of it use.

namespace app {

// Model name: application title, design caption of the main window, About box.
inline constexpr char kModelName[] = "KW-9100";
// Band name, the caption of the radio pages' tab.
inline constexpr char kBandName[] = "IEEE 802.11g";
inline constexpr char kSettingError[] = "IEEE802.11g Setting Error!";
inline constexpr char kSettingSuccess[] = "IEEE802.11g Setting Success!";
// The module's product object (devProduct.20) in dotted decimal: names its help-file value.
inline constexpr char kProductOid[] = "1.3.6.1.4.1.32473.2.20";

inline constexpr char kNoArgumentsMessage[] =
    "This module is only used in the Halvren or HP-Openview.";
inline constexpr char kAnotherModuleMessage[] = "Another KW9100 module is running!";

} // namespace app
