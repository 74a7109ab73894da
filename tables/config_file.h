#pragma once
// Variables of the configuration-file page: the same address, TFTP command and upgrade command
// lists as the firmware page.
#include "tables/firmware.h"

namespace tables::config_file {

using firmware::AddressVar, firmware::kServerAddress, firmware::kFileName;
using firmware::kAddress;
using firmware::kTftpCommand;
using firmware::kUpgradeCommand;
using firmware::TftpCommandVar, firmware::kTftp;
using firmware::UpgradeCommandVar, firmware::kUpgrade;

} // namespace tables::config_file
