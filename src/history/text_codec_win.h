#pragma once
// The codec's Windows side lives in framework/text_codec_win.h; this name stays only until
// the last files that include it name that one.

#include "framework/text_codec_win.h"
