# Recent firmware whose multiple SSIDs have neither dynamic VLAN nor SSID priority, nor
# broadcast suppression, WMM or accounting per SSID: the multi-SSID page's short SSID table.
include recent.profile

devMib.99.1.1.20.0  integer  ro  0   # mSSIDSuppress
devMib.99.1.1.25.0  integer  ro  0   # sntp (read into the accounting flag)
devMib.99.1.1.31.0  integer  ro  0   # mSSIDWmmSupported
devMib.99.1.1.54.0  integer  ro  0   # dynamicVlanSupported
devMib.99.1.1.56.0  integer  ro  0   # prioritybySSIDSupported
