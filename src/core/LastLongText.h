#pragma once

#include <QString>

// The answer for the last long text a function was asked about, kept with that text: a run asks
// for the same long description once per site or mail. The kept copy holds its string, so a text
// at its address with its length is that text (a text changed since was copied away first).
// One per function and thread (thread_local).
class LastLongText
{
public:
    static constexpr qsizetype Long = 4096;

    // The kept answer when text (asked with variant) is the kept text, else null.
    const QString* find(const QString& text, int variant = 0) const
    {
        const bool same = variant == m_variant && text.size() == m_text.size() && !m_text.isEmpty()
            && text.constData() == m_text.constData();
        return same ? &m_answer : nullptr;
    }
    // Keeps text with its answer when text is long.
    void keep(const QString& text, int variant, const QString& answer)
    {
        if (text.size() < Long)
            return;
        m_text = text;
        m_variant = variant;
        m_answer = answer;
    }

private:
    QString m_text;
    int m_variant = 0;
    QString m_answer;
};
