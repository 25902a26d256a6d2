/* Help context ids of GLIM.CHM: the program asks for these numbers with
   HH_HELP_CONTEXT, and the help project maps each one to its topic. */
#define IDH_MENUS 2000
#define IDH_MAIN_WINDOW 2001
#define IDH_SETTINGS_GENERAL 2002
#define IDH_SETTINGS_TEXT 2003
#define IDH_SETTINGS_BINARY 2004
#define IDH_SETTINGS_IMAGE 2005
#define IDH_SETTINGS_MEDIA 2006
#define IDH_FIND 2007
