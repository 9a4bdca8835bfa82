#include "config/open_settings_text.h"

#include <algorithm>
#include <cstring>

#include "base/text_codec.h"

namespace {

QString ReadField(const char (&field)[kOpenTextSize])
{
    const void* zero = std::memchr(field, 0, kOpenTextLength);
    const qsizetype length = zero ? static_cast<const char*>(zero) - field : kOpenTextLength;
    return DecodeWindows1251(field, length);
}

bool WriteField(char (&field)[kOpenTextSize], const QString& text)
{
    bool lossless = true;
    const QByteArray bytes = EncodeWindows1251(text, &lossless);
    const qsizetype length = std::min<qsizetype>(bytes.size(), kOpenTextLength);
    std::memset(field, 0, sizeof field);
    std::memcpy(field, bytes.constData(), std::size_t(length));
    return lossless && length == bytes.size();
}

}  // namespace

QString OrganisationCode(const OpenSettings& open)
{
    return ReadField(open.organisationCode);
}

QString ContractText(const OpenSettings& open)
{
    return ReadField(open.contract);
}

bool SetOrganisationCode(OpenSettings& open, const QString& text)
{
    return WriteField(open.organisationCode, text);
}

bool SetContractText(OpenSettings& open, const QString& text)
{
    return WriteField(open.contract, text);
}
