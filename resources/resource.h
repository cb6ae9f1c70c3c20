// Resource ids of Harnex.arx: dialog templates and their controls.
#pragma once

#include "resources/detail_dialog_ids.h"
#include "resources/import_dialog_ids.h"
#include "resources/palette_ids.h"
#include "resources/placement_dialog_ids.h"
#include "resources/project_dialog_ids.h"
#include "resources/settings_dialog_ids.h"
