/* Numbers shared by the resource script and the code. */
#ifndef LUMSETUP_RESOURCE_H
#define LUMSETUP_RESOURCE_H

/* Message table */
#define MSG_ALL_FILES            10001
#define MSG_LOCATE               10002
#define MSG_CREATION_FAILED      10003
#define MSG_INSTALL_CAPTION      10004
#define MSG_COPY_FAILED          10005
#define MSG_REMOVAL_COMPLETE     10010
#define MSG_REMOVE_CAPTION       10011
#define MSG_REMOVAL_INCOMPLETE   10012
#define MSG_REMOVAL_NO_RECORD    10013
#define MSG_ORVANTA              10016
#define MSG_SOURCE_CAPTION       10017
#define MSG_SOURCE_PROMPT        10018
#define MSG_NO_SOURCE            10019
#define MSG_PROGRAM_CAPTION      10020
#define MSG_PROGRAM_PROMPT       10021
#define MSG_PROMPT_DIR_FAILED    10022
#define MSG_NO_DESTINATION       10023
#define MSG_DIR_FAILED           10026
#define MSG_CREATING_GROUP_ICONS 10028
#define MSG_CREATING_GROUP       10034
#define MSG_INSTALL_FAILED       10035
#define MSG_CONGRATULATIONS      10038
#define MSG_INSTALL_SUCCESS      10040
#define MSG_REGISTER_FAILED      10046
#define MSG_CREATE_FAILED        10047
#define MSG_SETUP_TITLE          10052
#define MSG_EXTRACT_FAILED       10070

/* Main window */
#define CMD_START                100

/* Controls */
#define IDC_INSTALL_CHOICE       1851
#define IDC_REMOVE_CHOICE        1852
#define IDC_PROMPT               3010
#define IDC_DIRECTORY            954
#define IDC_BROWSE               2416
#define IDC_GROUP_COMBO          2405
#define IDC_COPY_STATUS          954
#define IDC_BROWSE_PROMPT        1511

#endif
