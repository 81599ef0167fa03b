#include "app/trust/dersignature.h"

namespace {

// Reads the header of the DER element at position, which must have the tag:
// position moves to its content, and its length is returned; -1 when the
// element is not there.
int enter(const QByteArray &der, int &position, char tag)
{
    if (position + 2 > der.size() || der.at(position) != tag)
        return -1;
    int length = quint8(der.at(position + 1));
    position += 2;
    if (length & 0x80) {
        const int bytes = length & 0x7f;
        if (bytes < 1 || bytes > 3 || position + bytes > der.size())
            return -1;
        length = 0;
        for (int i = 0; i < bytes; ++i)
            length = length << 8 | quint8(der.at(position++));
    }
    return position + length <= der.size() ? length : -1;
}

} // namespace

namespace DerSignature {

// Certificate ::= SEQUENCE { tbsCertificate SEQUENCE, signatureAlgorithm
// SEQUENCE { algorithm OBJECT IDENTIFIER, ... }, ... }.
QByteArray algorithm(const QByteArray &der)
{
    int position = 0;
    if (enter(der, position, 0x30) < 0)
        return QByteArray();
    const int signed_ = enter(der, position, 0x30);
    if (signed_ < 0)
        return QByteArray();
    position += signed_;
    if (enter(der, position, 0x30) < 0)
        return QByteArray();
    const int length = enter(der, position, 0x06);
    return length < 0 ? QByteArray() : der.mid(position, length);
}

} // namespace DerSignature
