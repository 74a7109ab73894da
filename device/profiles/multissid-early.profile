# Firmware whose multiple SSIDs are the master SSID and three guest SSIDs with WEP security and
# VLAN groups: the earlier multi-SSID page.
include recent.profile

devMib.99.1.1.13.0  integer  ro  0   # mssidisolatedsecurity
devMib.99.1.1.54.0  integer  ro  0   # dynamicVlanSupported
devMib.99.1.1.56.0  integer  ro  0   # prioritybySSIDSupported
