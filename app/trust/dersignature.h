#ifndef DERSIGNATURE_H
#define DERSIGNATURE_H

#include <QByteArray>

// The object identifier, in DER, of the algorithm the issuer signed a
// certificate with, read from the certificate's DER form; empty when the
// form is not that of a certificate.
QByteArray signatureAlgorithm(const QByteArray &der);

#endif // DERSIGNATURE_H
