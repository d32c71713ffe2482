#pragma once
#include "auth/hasher.h"
