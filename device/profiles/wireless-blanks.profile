# A radio whose channel list has runs of blanks between the channels.
include recent.profile

devMib.1.1.1.4.1   string   ro  "1  6  11"
