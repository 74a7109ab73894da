# Recent firmware with dynamic VLAN but without SSID priority: the multi-SSID page needs the long
# SSID table for the dynamic-VLAN column alone.
include recent.profile

devMib.99.1.1.56.0  integer  ro  0   # prioritybySSIDSupported
