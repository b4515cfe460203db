/// @file
/// Umbrella header: every exported interface of FolianUtils.
///
/// Threads: the library starts none; each header says which of its calls
/// may run on several threads at once.
///
/// @stable
#pragma once

#include "FolianUtils/angle_formatter.h"
#include "FolianUtils/application.h"
#include "FolianUtils/assert.h"
#include "FolianUtils/canvas_name.h"
#include "FolianUtils/color.h"
#include "FolianUtils/constants.h"
#include "FolianUtils/culture.h"
#include "FolianUtils/dictionary.h"
#include "FolianUtils/export.h"
#include "FolianUtils/help_urls.h"
#include "FolianUtils/host_strings.h"
#include "FolianUtils/image_background.h"
#include "FolianUtils/length_evaluator.h"
#include "FolianUtils/length_formatter.h"
#include "FolianUtils/notification_center.h"
#include "FolianUtils/numeric_formatter.h"
#include "FolianUtils/point2.h"
#include "FolianUtils/preference_store.h"
#include "FolianUtils/preferences.h"
#include "FolianUtils/scale_formatter.h"
#include "FolianUtils/support_folders.h"
#include "FolianUtils/temp_preferences.h"
#include "FolianUtils/units_info.h"
#include "FolianUtils/ustring.h"
#include "FolianUtils/variant.h"
#include "FolianUtils/vcb_parser.h"
