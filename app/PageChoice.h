// The page's choices now live with the models; the window's files include them here.
#pragma once

#include "model/PageChoice.h"
