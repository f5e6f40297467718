#include "subtitles/SamiReader.h"

namespace velmo {

SamiResult ReadSamiFile(const std::string &)
{
    SamiResult result;
    result.error = QStringLiteral("SAMI reading is not available yet");
    return result;
}

SamiResult ParseSami(const QByteArray &)
{
    SamiResult result;
    result.error = QStringLiteral("SAMI reading is not available yet");
    return result;
}

} // namespace velmo
