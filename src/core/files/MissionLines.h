#pragma once

#include "core/missions/Mission.h"
#include "core/text/CodePageText.h"

#include <QByteArray>
#include <QVector>

#include <optional>

// The line layout of the two mission text files: one mission per line,
// kind, description, date and time separated by one byte, every line ending
// in CR LF, texts in code page 936 (written as GB18030) or, in a file that
// is valid UTF-8, in UTF-8. Bytes that are no character survive a reading
// and a writing unchanged (see CodePageText).
class MissionLines
{
public:
    // Mission files (.mis): fields separated by the byte 0x80.
    static MissionLines missionFile();
    // The daily mission file: fields separated by "$"; a byte 0x1A ends it.
    static MissionLines dailyFile();

    enum Field { KindField, DescriptionField, DateField, TimeField };

    struct Reading
    {
        QVector<Mission> missions;
        // The bytes from where reading stopped (an empty line, the end
        // mark) to the end; empty when every line was read.
        QByteArray unread;
        // How the file holds its texts; writing it back keeps that.
        TextEncoding encoding = TextEncoding::CodePage;
        // The rows (from 0) whose line held a NUL byte, each read as a
        // blank: a NUL would cut the text short wherever it is shown or sent.
        QVector<int> blankedNulRows;
    };

    // Reads line after line until the end, an empty line or the end mark,
    // after a UTF-8 byte-order mark if there is one.
    // A line ends at LF, its CRs are dropped; a last line without a line end
    // counts. Missing separators leave fields empty; the time keeps any
    // further ones. A NUL byte reads as a blank. Rows carry their kind's icon.
    Reading read(const QByteArray &bytes) const;

    // What to tell the user when rows of `reading` (of the file at `path`)
    // held NUL bytes: which lines, that each NUL reads as a blank and that
    // the file is unchanged. Empty when no row held one.
    static QString blankedNulNotice(const QString &path, const Reading &reading);
    // Lines named by number in a notice; the rest are counted.
    static constexpr int rowsNamed = 10;
    // "第3、7、9行" for the rows (from 0): the first `rowsNamed` of them,
    // "等" after them when there are more.
    static QString rowNumbers(const QVector<int> &rows);

    // The first field of `mission` that would read back differently because
    // it holds the separator character, if any. Only the time may hold it.
    std::optional<Field> misfit(const Mission &mission) const;

    // One line per mission, without a byte-order mark. Line breaks (and the
    // end mark of the daily file) in a field become spaces, so that every
    // mission stays one line.
    QByteArray write(const QVector<Mission> &missions, TextEncoding encoding = TextEncoding::CodePage) const;

private:
    MissionLines(char separator, bool endMark);

    char m_separator;
    bool m_endMark;
};
