// Resource ids of Harnex.arx: dialog templates and their controls.
#pragma once

#include "detail_dialog_ids.h"
#include "import_dialog_ids.h"
#include "palette_ids.h"
#include "placement_dialog_ids.h"
#include "project_dialog_ids.h"
#include "settings_dialog_ids.h"
