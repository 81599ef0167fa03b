#include "download/reportfailure.h"

#include "download/reportbody.h"
#include "download/reportfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QNetworkReply>

#include <cerrno>
#include <cstring>

namespace {

QString shownName(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

// A reply that failed after a good status broke off on its way.
QString serverReason(const QNetworkReply *reply)
{
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() >= 400)
        return QCoreApplication::translate("ReportFailure", "the server answered %1").arg(status.toInt());
    switch (reply->error()) {
    case QNetworkReply::ConnectionRefusedError:
        return QCoreApplication::translate("ReportFailure", "the server refused the connection");
    case QNetworkReply::HostNotFoundError:
        return QCoreApplication::translate("ReportFailure", "the server's name was not found");
    case QNetworkReply::TimeoutError:
        return QCoreApplication::translate("ReportFailure", "the server did not answer in time");
    case QNetworkReply::RemoteHostClosedError:
        return QCoreApplication::translate("ReportFailure", "the server closed the connection");
    case QNetworkReply::SslHandshakeFailedError:
        return QCoreApplication::translate("ReportFailure", "the server's certificate was refused");
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        return QCoreApplication::translate("ReportFailure", "its address cannot be downloaded");
    default:
        return reply->errorString();
    }
}

QString translated(const char *text)
{
    return QCoreApplication::translate("ReportFailure", text);
}

QString untranslated(const char *text)
{
    return QString::fromLatin1(text);
}

// What is wrong with a body, in the words phrase gives.
QString bodyReason(const ReportBody &body, QString (*phrase)(const char *))
{
    switch (body.fault()) {
    case ReportBody::Fault::Short:
        return phrase(QT_TRANSLATE_NOOP("ReportFailure", "the server sent %1 of %2 bytes"))
                .arg(body.received())
                .arg(body.declared());
    case ReportBody::Fault::Long:
        return phrase(QT_TRANSLATE_NOOP("ReportFailure", "the server sent %1 bytes where it declared %2"))
                .arg(body.received())
                .arg(body.declared());
    case ReportBody::Fault::Unended:
        return phrase(QT_TRANSLATE_NOOP("ReportFailure", "the compressed report ended early"));
    case ReportBody::Fault::Damaged:
        return phrase(QT_TRANSLATE_NOOP("ReportFailure", "the compressed report is damaged"));
    case ReportBody::Fault::Overblown:
        return phrase(QT_TRANSLATE_NOOP("ReportFailure", "the compressed report expands beyond any report"));
    case ReportBody::Fault::UnknownEncoding:
        return phrase(QT_TRANSLATE_NOOP("ReportFailure", "the server encoded it as %1, which cannot be read"))
                .arg(QString::fromLatin1(body.encoding()));
    case ReportBody::Fault::None:
        break;
    }
    return QString();
}

// A save fails mostly for want of room or of the right to write there.
QString fileReason(const ReportFile &file)
{
    const QFileInfo target(file.fileName());
    if (file.fileError() == QFileDevice::ResourceError
            || file.errorString() == QString::fromLocal8Bit(std::strerror(ENOSPC)))
        return QCoreApplication::translate("ReportFailure", "the disk is full");
    if (file.failure() == ReportFile::Failure::Open) {
        if (target.isDir())
            return QCoreApplication::translate("ReportFailure", "a folder has that name");
        if (!target.absoluteDir().exists())
            return QCoreApplication::translate("ReportFailure", "its folder does not exist");
        if (!QFileInfo(target.absolutePath()).isWritable())
            return QCoreApplication::translate("ReportFailure", "its folder may not be written to");
    }
    return file.errorString();
}

} // namespace

namespace ReportFailure {

QString notDownloaded(const QString &fileName, const QNetworkReply *reply)
{
    return QCoreApplication::translate("ReportFailure", "The report %1 could not be downloaded: %2.")
            .arg(shownName(fileName), serverReason(reply));
}

QString notDownloaded(const QString &fileName, const ReportBody &body)
{
    return QCoreApplication::translate("ReportFailure", "The report %1 could not be downloaded: %2.")
            .arg(shownName(fileName), bodyReason(body, translated));
}

QString bodyFaultForLog(const ReportBody &body)
{
    return bodyReason(body, untranslated);
}

QString redirected(const QString &fileName)
{
    return QCoreApplication::translate("ReportFailure", "The report %1 could not be downloaded: the server sent it elsewhere.")
            .arg(shownName(fileName));
}

QString notSaved(const ReportFile &file)
{
    if (file.fileName().isEmpty())
        return QCoreApplication::translate("ReportFailure", "A report could not be saved: no file name was given.");
    return QCoreApplication::translate("ReportFailure", "The report %1 could not be saved: %2.")
            .arg(shownName(file.fileName()), fileReason(file));
}

QString refused(const QString &fileName)
{
    return QCoreApplication::translate("ReportFailure", "The report %1 was not saved: a page may not save files there.")
            .arg(shownName(fileName));
}

} // namespace ReportFailure
