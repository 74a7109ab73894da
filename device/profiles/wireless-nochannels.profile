# A radio that reports no channel list at all.
include recent.profile

devMib.1.1.1.4.1   string   ro  ""
