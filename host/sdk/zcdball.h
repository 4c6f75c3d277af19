// Every database and entity declaration of the host interface.
#pragma once

#include "zcdb.h"
#include "zcdbblkref.h"
#include "zcdbents.h"
#include "zcdbregion.h"
#include "zcdbtext.h"
