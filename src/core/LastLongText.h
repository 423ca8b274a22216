#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>

// The answers for the last few long texts a function was asked about, kept with those texts: a run
// asks for the same long description and notes once per site or mail. A kept copy holds its
// string, so a text at its address with its length is that text (a text changed since was copied
// away first). One per function and thread (thread_local).
template <typename Answer>
class LastLongTextOf
{
public:
    static constexpr qsizetype Long = 4096;

    // The kept answer when text (asked with variant) is a kept text, else null.
    const Answer* find(const QString& text, int variant = 0) const
    {
        for (const Kept& kept : m_kept) {
            if (kept.variant == variant && text.size() == kept.text.size() && !kept.text.isEmpty()
                && text.constData() == kept.text.constData())
                return &kept.answer;
        }
        return nullptr;
    }
    // Keeps text with its answer when text is long, in place of the oldest kept one.
    void keep(const QString& text, int variant, const Answer& answer)
    {
        if (text.size() < Long)
            return;
        m_kept[m_next] = {text, variant, answer};
        m_next = (m_next + 1) % m_kept.size();
    }

private:
    struct Kept
    {
        QString text;
        int variant = 0;
        Answer answer;
    };
    // The description and the notes, each in two forms at most.
    std::array<Kept, 4> m_kept;
    std::size_t m_next = 0;
};

using LastLongText = LastLongTextOf<QString>;
