// Umbrella header: every exported interface of FolianUtils.
#pragma once

#include "FolianUtils/angle_formatter.h"
#include "FolianUtils/application.h"
#include "FolianUtils/assert.h"
#include "FolianUtils/color.h"
#include "FolianUtils/constants.h"
#include "FolianUtils/culture.h"
#include "FolianUtils/export.h"
#include "FolianUtils/host_strings.h"
#include "FolianUtils/length_formatter.h"
#include "FolianUtils/notification_center.h"
#include "FolianUtils/numeric_formatter.h"
#include "FolianUtils/point2.h"
#include "FolianUtils/support_folders.h"
#include "FolianUtils/units_info.h"
#include "FolianUtils/ustring.h"
