#pragma once
#include "cloud/service.h"
