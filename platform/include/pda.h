// The handheld platform, whole: include this one header.
#pragma once

#include "pda/types.h"
#include "pda/kernel.h"
#include "pda/storage.h"
#include "pda/gps.h"
#include "pda/messaging.h"
#include "pda/gdi.h"
#include "pda/resources.h"
#include "pda/clipboard.h"
#include "pda/dialogs.h"
#include "pda/controls.h"
#include "pda/commctrl.h"
#include "pda/shell.h"
