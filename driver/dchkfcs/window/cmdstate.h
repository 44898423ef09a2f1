// Check marks of the two view commands, derived from the zoom mode.
#ifndef DRIVER_DCHKFCS_WINDOW_CMDSTATE_H
#define DRIVER_DCHKFCS_WINDOW_CMDSTATE_H

#include "checkfcsstate.h"

enum { CMDSTATE_CHECKED = 1 };

// FALSE for ids without a state; otherwise the state bits in *puState. The
// commands with a state are never disabled: updates keep them enabled.
BOOL QueryCommandState(const CheckFcsState *pState, UINT uId, UINT *puState);

// Brings a popup menu's items and a toolbar's buttons in line with the
// state; either may be null.
void UpdateCommandState(const CheckFcsState *pState, HMENU hmenuPopup, HWND hwndToolbar);

#endif
