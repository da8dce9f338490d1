// English texts of the wizard's pages (setup.pages.rci). Every language file defines the
// same names; "%s" stands for the product name, as often as the sentence needs it.
#include "undef.h"

#define T_CHARSET 1 // DEFAULT_CHARSET

#define T_WELCOME_CAPTION "Welcome"
#define T_WELCOME_710 "Welcome to the %s Setup program.  This program will install %s on your computer."
#define T_WELCOME_720 "It is strongly recommended that you exit all Windows programs before running this setup program."

#define T_INTERFACE_CAPTION "Hardware Interface Selection"
#define T_INTERFACE_202 "Please select the type of interface for your device."
#define T_INTERFACE_301 "&PS/2 Interface"
#define T_INTERFACE_303 "&USB (Universal Serial Bus) Interface"

#define T_DESTINATION_CAPTION "Choose Destination Location"
#define T_DESTINATION_202 "Setup will install %s in the following folder. \n\nTo install to this folder, click Next. \n\nTo install to a different folder, click Browse and select another folder."
#define T_DESTINATION_203 "You can choose not to install %s by clicking Cancel to exit Setup."
#define T_DESTINATION_GROUP "Destination Folder"
#define T_DESTINATION_31 "B&rowse..."

#define T_FOLDER_CAPTION "Select Program Folder"
#define T_FOLDER_710 "Setup will add program icons to the Program Folder listed below.  You may type a new folder name, or select one from the existing Folders list.  Click Next to continue."
#define T_FOLDER_PROGRAM_LABEL "&Program Folders:"
#define T_FOLDER_EXISTING_LABEL "E&xisting Folders:"

#define T_SUMMARY_CAPTION "Start Installation"
#define T_SUMMARY_711 "Setup is ready to begin installation. Click Back to review or change the current configuration. If the current configuration is correct, click Next to begin installation."
#define T_SUMMARY_701 "Current Configuration:"

#define T_PROGRESS_CAPTION "Installation Procedures"
#define T_PROGRESS_1450 "Please wait while Setup is copying the files to your system."
#define T_PROGRESS_1003 "Setup is updating the registry and driver. Please wait..."
#define T_PROGRESS_1500 "From: "
#define T_PROGRESS_2 "To: "

#define T_RESULT_CAPTION "Setup Result"
#define T_RESULT_711 "Setup has successfully installed %s.\n\nBefore you can use %s, you must restart your computer."
#define T_RESULT_502 "&Restart my computer now."
#define T_RESULT_503 "&I will restart my computer later."
#define T_RESULT_712 "Please remove any disks from floppy drives, and click Finish to complete Setup."
#define T_RESULT_713 "Setup has successfully installed %s.\n\nClick Finish to complete Setup."
#define T_RESULT_1004 "Setup failed to install the driver on your system."
#define T_RESULT_1005 "You don't have enough privilege to install the driver. Please re-login as an administrator and run this setup program again."
#define T_RESULT_1007 "Please refer to the README.TXT or user manual for more information."

#define T_EXIT_CAPTION "Exit Setup"
#define T_EXIT_1032 "Setup is incomplete. If you exit Setup now, %s will not be installed on your computer."
#define T_EXIT_AGAIN "You may run Setup again to complete the installation at any time."
#define T_EXIT_1033 "To continue installing %s, click Resume.  To quit Setup, click Exit Setup."
#define T_EXIT_RESUME "&Resume"
#define T_EXIT_EXIT "E&xit Setup"
