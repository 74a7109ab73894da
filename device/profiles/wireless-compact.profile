# Recent firmware without multiple SSIDs: the wireless page shows its compact layout while
# changes still wait for save-and-activate.
include recent.profile

devMib.99.1.1.9.0   integer  ro  0   # mssidsupported
