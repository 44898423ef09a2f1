// Resource numbers, command ids and child-window ids of the preview library.
// Shared by the resource script and the window code.
#ifndef DRIVER_DCHKFCS_TEXT_RESOURCE_H
#define DRIVER_DCHKFCS_TEXT_RESOURCE_H

#define IDB_TOOLBAR 101
#define IDR_MAINMENU 102
#define IDD_DLGBAR 103
#define IDR_ACCEL 104
#define IDI_COVERSHEET 105
#define IDR_TOOLBAR 101
#define RT_TOOLBAR_DATA 241

#ifndef IDOK
#define IDOK 1
#define IDCANCEL 2
#define IDHELP 9
#endif

#define IDM_ZOOMIN 40001
#define IDM_ZOOMOUT 40002
#define IDM_ZOOMBOX 40003
#define IDM_WHOLEPAGE 40004
#define IDM_WHOLEWIDTH 40005
#define IDC_IMAGEPOS 1001

#define IDC_TOOLBAR 0x1001
#define IDC_VIEW 0x1002
#define IDC_DLGBAR 0x1003
#define IDC_STATUSBAR 0x1004
#define IDC_ZOOMBOX 0x1005

#endif
