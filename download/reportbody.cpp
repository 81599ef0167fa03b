#include "download/reportbody.h"

#include <QNetworkReply>
#include <QNetworkRequest>

#include <zlib.h>

namespace {

// Qt's own limit for what it decompresses: beyond 10 MiB, a body may not
// decode to more than 40 times its size. A tiny compressed report that
// fills the disk is an attack, not a report.
constexpr qint64 expansionCheckedFrom = 10 * 1024 * 1024;
constexpr qint64 expansionLimit = 40;

constexpr int decodedStep = 64 * 1024;

// Whether a reply of this status carries a body that its length describes:
// a 204 has none, and a 304's length is that of the copy it keeps valid.
bool carriesBody(int status)
{
    return status >= 200 && status != 204 && status != 304;
}

// HTTP's "deflate" is zlib's format, but some servers send the bare stream.
bool startsZlibFormat(const QByteArray &bytes)
{
    const auto first = static_cast<unsigned char>(bytes.at(0));
    if ((first & 0x0f) != Z_DEFLATED || (first >> 4) > 7)
        return false;
    return bytes.size() < 2 || (first * 256 + static_cast<unsigned char>(bytes.at(1))) % 31 == 0;
}

} // namespace

ReportBody::ReportBody(const QNetworkReply &reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid() || !carriesBody(status.toInt()))
        return; // not HTTP, or no body to judge
    // A chunked body's length is in its chunks, whatever else is declared.
    if (!reply.rawHeader("Transfer-Encoding").toLower().contains("chunked")) {
        const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid())
            m_declared = length.toLongLong();
    }
    m_encoding = reply.rawHeader("Content-Encoding").trimmed().toLower();
    if (m_encoding.isEmpty() || m_encoding == "identity")
        m_coding = Coding::Identity;
    else if (m_encoding == "gzip" || m_encoding == "x-gzip")
        m_coding = Coding::Gzip;
    else if (m_encoding == "deflate")
        m_coding = Coding::Deflate;
    else
        fail(Fault::UnknownEncoding);
}

ReportBody::~ReportBody()
{
    if (m_stream)
        inflateEnd(m_stream.get());
}

bool ReportBody::decode(const QByteArray &wire, QByteArray &report)
{
    if (m_decodingFault != Fault::None)
        return false;
    m_received += wire.size();
    if (m_coding == Coding::Identity) {
        report = wire;
        return true;
    }
    report.clear();
    return wire.isEmpty() || inflate(wire, report);
}

ReportBody::Fault ReportBody::fault() const
{
    if (m_decodingFault != Fault::None)
        return m_decodingFault;
    if (m_declared >= 0 && m_received < m_declared)
        return Fault::Short;
    if (m_declared >= 0 && m_received > m_declared)
        return Fault::Long;
    if (m_coding != Coding::Identity && !m_streamEnded)
        return Fault::Unended;
    return Fault::None;
}

bool ReportBody::inflate(const QByteArray &wire, QByteArray &report)
{
    if (!m_stream && !startInflating(wire))
        return fail(Fault::Damaged);
    m_stream->next_in = reinterpret_cast<Bytef *>(const_cast<char *>(wire.constData()));
    m_stream->avail_in = static_cast<uInt>(wire.size());
    for (;;) {
        // Gzip allows several members one after the other; nothing else
        // may follow the end of a stream.
        if (m_streamEnded) {
            if (m_stream->avail_in == 0)
                return true;
            if (m_coding != Coding::Gzip || inflateReset(m_stream.get()) != Z_OK)
                return fail(Fault::Damaged);
            m_streamEnded = false;
        }
        const qsizetype before = report.size();
        report.resize(before + decodedStep);
        m_stream->next_out = reinterpret_cast<Bytef *>(report.data() + before);
        m_stream->avail_out = decodedStep;
        const int result = ::inflate(m_stream.get(), Z_NO_FLUSH);
        const bool outputFull = m_stream->avail_out == 0;
        report.resize(report.size() - m_stream->avail_out);
        m_decoded += report.size() - before;
        if (m_decoded > expansionCheckedFrom && m_decoded > expansionLimit * m_received)
            return fail(Fault::Overblown);
        if (result == Z_STREAM_END)
            m_streamEnded = true;
        else if (result != Z_OK && result != Z_BUF_ERROR)
            return fail(Fault::Damaged);
        // Until all input is taken and zlib holds back no output.
        else if (m_stream->avail_in == 0 && !outputFull)
            return true;
    }
}

bool ReportBody::startInflating(const QByteArray &firstBytes)
{
    const int windowBits = m_coding == Coding::Gzip ? MAX_WBITS + 16
            : startsZlibFormat(firstBytes)          ? MAX_WBITS
                                                    : -MAX_WBITS;
    m_stream = std::make_unique<z_stream_s>();
    if (inflateInit2(m_stream.get(), windowBits) == Z_OK)
        return true;
    m_stream.reset();
    return false;
}

bool ReportBody::fail(Fault fault)
{
    m_decodingFault = fault;
    return false;
}
