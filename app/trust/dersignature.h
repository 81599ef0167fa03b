#ifndef DERSIGNATURE_H
#define DERSIGNATURE_H

#include <QByteArray>

namespace DerSignature {

// The object identifier, in DER, of the algorithm the issuer signed a
// certificate with, read from the certificate's DER form; empty when the
// form is not that of a certificate.
QByteArray algorithm(const QByteArray &der);

} // namespace DerSignature

#endif // DERSIGNATURE_H
