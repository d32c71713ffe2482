#pragma once
#include <string>
#include "web/page.h"
