// Why a save failed, in Chinese, for the detail under "保存图像文件失败!".
#pragma once

#include <QString>

#include "image/ImageResult.h"
#include "verify/ImageRead.h"
#include "verify/ReadBack.h"

namespace quillet {

QString DescribeSaveFailure(const ImageResult& result);

// The system's reason for an errno value: in Chinese for the commonest ones.
QString SystemReason(int error);

// What the image readers found, in Chinese; empty for a library's own
// message, which is not ours to translate.
QString ReadDetailText(ImageReadDetail detail, int number);

// Why a saved file could not be checked by reading it back.
QString CannotCheckReason(const ReadBackResult& result);

}  // namespace quillet
