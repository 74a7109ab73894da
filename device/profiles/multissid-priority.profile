# Recent firmware with SSID priority but without dynamic VLAN: the long SSID table without its
# dynamic-VLAN column.
include recent.profile

devMib.99.1.1.54.0  integer  ro  0   # dynamicVlanSupported
