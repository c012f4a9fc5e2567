// The load dialogs are one class driven by a field table.
#pragma once

#include "app/dialogs/LoadDialog.h"
