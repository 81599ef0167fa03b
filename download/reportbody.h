#ifndef REPORTBODY_H
#define REPORTBODY_H

#include <QByteArray>

#include <memory>

class QNetworkReply;
struct z_stream_s;

// A report's body as it comes off the wire, and whether all of it came. Qt's
// network layer finishes some replies that the server cut short without an
// error: always a compressed one it decompressed itself, which loses the
// length the server declared, and now and then any other. So the downloader
// asks for a compressed body as it is sent (reportRequest) and decodes it
// here, and a body counts as whole only when the bytes on the wire add up to
// the declared Content-Length and a compressed stream has reached its end.
// A chunked body without compression shows Qt's own verdict alone: its end
// is not visible outside Qt.
class ReportBody
{
public:
    enum class Fault {
        None,
        Short, // fewer bytes than declared
        Long, // more bytes than declared
        Unended, // a compressed stream without its end
        Damaged, // a compressed stream that cannot be decoded
        Overblown, // decodes to far more than is reasonable
        UnknownEncoding, // compressed in a way not asked for
    };

    // Reads how the body comes from the reply's headers, which are in by its
    // first data.
    explicit ReportBody(const QNetworkReply &reply);
    ~ReportBody();

    ReportBody(const ReportBody &) = delete;
    ReportBody &operator=(const ReportBody &) = delete;

    // The report's bytes in what came off the wire; false once the body
    // cannot be decoded (fault() says why), after which nothing more is.
    bool decode(const QByteArray &wire, QByteArray &report);
    // What is wrong with the body if the wire has ended here.
    Fault fault() const;
    // decode() refused the body: nothing more of it is wanted.
    bool stoppedDecoding() const { return m_decodingFault != Fault::None; }

    qint64 received() const { return m_received; }
    qint64 declared() const { return m_declared; }
    QByteArray encoding() const { return m_encoding; }

private:
    enum class Coding { Identity, Gzip, Deflate, Unknown };

    bool inflate(const QByteArray &wire, QByteArray &report);
    bool startInflating(const QByteArray &firstBytes);
    bool fail(Fault fault);

    Coding m_coding = Coding::Identity;
    QByteArray m_encoding;
    qint64 m_declared = -1; // no length declared
    qint64 m_received = 0;
    qint64 m_decoded = 0;
    std::unique_ptr<z_stream_s> m_stream;
    bool m_streamEnded = false;
    Fault m_decodingFault = Fault::None;
};

#endif // REPORTBODY_H
