#pragma once
#include "base/text.h"
#include "cloud/service.h"
