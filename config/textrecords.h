#pragma once
// The one text record format of peltrix.ini, the .pxs statistics files and
// the shot data export: records ending in CR LF, fields separated by commas,
// texts in double quotes, numbers with "." always, booleans "#TRUE#" and
// "#FALSE#". The file is Windows-1252 when every text fits, else UTF-8 after
// the byte-order mark (platform/codec1252.h).
#include <QByteArray>
#include <QString>
#include <optional>

class RecordWriter {
public:
    // Each adds one field to the current record.
    // A double quote inside the text is written as two apostrophes: a quote
    // would end the text early for every reader and shift every later record.
    // The apostrophes are what every reader, older releases included, then reads.
    void Text(const QString &text);
    void Float(float value);
    void Int(qint32 value);
    void Bool(bool value);
    // Ends the current record (an empty record when no field was added).
    void EndRecord();

    // The whole file, encoded once all its texts are known.
    QByteArray Bytes() const;

private:
    void separate();
    QString text;
    bool fieldInRecord = false;
};

// A float at most 7 significant digits, plain decimal, "." and no padding:
// "100", "0.5", "-0.0006944444", "1234568".
QByteArray FloatText(float value);

class RecordReader {
public:
    struct Field {
        QString text;
        bool quoted = false;
    };
    // A file beginning with the byte-order mark is read as UTF-8, any other
    // as Windows-1252.
    explicit RecordReader(const QByteArray &bytes);
    // The next field: leading blanks skipped; a quoted value runs to the next
    // double quote (line breaks included), an unquoted one to the next comma
    // or line end. Nothing once the data are used up.
    std::optional<Field> Next();
    bool AtEnd() const;

private:
    QByteArray data;
    qsizetype pos = 0;
    bool utf8 = false;
};

// A field as a number: the leading decimal number, 0 when there is none.
double FieldNumber(const RecordReader::Field &f);
// A field as a float; nothing when the number lies beyond the float range.
std::optional<float> FieldFloat(const RecordReader::Field &f);
// A number rounded to a 32-bit integer (halves to even); nothing beyond its range.
std::optional<qint32> FieldInt(const RecordReader::Field &f);
// "#TRUE#" / "#FALSE#", or a number (true when not 0); nothing otherwise.
std::optional<bool> FieldBool(const RecordReader::Field &f);
