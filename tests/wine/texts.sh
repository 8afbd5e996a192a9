# The log texts that the main dialog ends with, as C escapes (UIAUTO's wait-text reads them).
BANNER='Microcode Download Utility For Velmora Hard Disk Drive (v0.1)\n\n'
END_NOTE='Program is terminated. Please press ESC key.\n'
REFUSAL="${BANNER}This program can be run in Windows NT 4.0, 2000, XP.\n${END_NOTE}"
# What Wine's disks answer: \\.\PhysicalDriveN does not open, so no drive is listed.
NO_DRIVE_REPORT="${BANNER}Your computer has following hard disk drive.\n\n\nYou don't need to upgrage firmware code.\n${END_NOTE}"
