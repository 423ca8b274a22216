#pragma once

#include <QByteArray>

#include <functional>

// PAD editors append long sections of their own under the root (affiliate programs, translations,
// extensions) that an import never reads. Handing them to the XML reader costs most of an import's
// time, so they are cut out first by a scan that only tracks tags.
//
// Returns bytes with every child of the root that isKnownSection does not name replaced by the line
// breaks it held (errors further on keep their line numbers). Bytes whose markup the scan does not
// follow to the end — damaged, truncated, with a document type declaration, or not ASCII-based —
// come back unchanged, for the XML reader to judge.
QByteArray withoutExtensionSections(const QByteArray& bytes, const std::function<bool(QByteArrayView)>& isKnownSection);
