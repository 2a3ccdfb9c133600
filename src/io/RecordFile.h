#pragma once
// The record files (model, BF results, all-BFs, settings): one record per line, lines ended by
// CR LF, fields separated by commas, texts between double quotes, integers in plain decimal,
// reals in the record form of text/NumText.h ("-.25", "1.5E-07").
//
// A quoted text has no escapes: the reader takes it up to the next double quote. So that every
// record reads back with each field in its place (and splits into its fields in any CSV
// reader), the writer puts every text through one rule: a double quote becomes an apostrophe,
// CR and LF become blanks. Other texts are written unaltered.
//
// RecordWriter builds the whole file in memory; WriteFileAtomically (io/AtomicFile.h) writes it
// so that a failed write never destroys the file that was there. RecordReader reads items in
// order, as the files are read: a quoted text up to its closing quote, any other field up to
// the next comma or line end, blanks around fields ignored. Failures are the system's error
// numbers (state/ErrText.h).
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "io/AtomicFile.h"

namespace tessan {

// t as the writer stores it between its quotes.
std::string QuotedFieldText(std::string_view t);

class RecordWriter {
public:
    RecordWriter() = default;
    void reserve(std::size_t bytes) { m_buf.reserve(bytes); }
    RecordWriter& Text(std::string_view t);     // "t" after QuotedFieldText
    RecordWriter& Int(long long n);             // 201, -1
    RecordWriter& Real(double x);               // record form
    RecordWriter& Bool(bool b) { return Int(b ? -1 : 0); }
    void EndRecord();                           // CR LF
    const std::string& str() const { return m_buf; }

private:
    void sep();
    std::string m_buf;
    bool m_fieldInRecord = false;
};

class RecordReader {
public:
    explicit RecordReader(std::string content);
    // Each returns 0 or an error number: 62 past the end of the file, 321 a field that is not
    // of the asked kind (a text where a number belongs), 6 a number outside the item's range.
    int ReadText(std::string& out);            // a quoted field, or a bare field as it stands (trimmed)
    int ReadReal(double& out);                 // any decimal text, E or D exponent, leading point
    int ReadInt16(int& out);                   // a number rounded halves to even, within 16 bits
    int ReadBool(bool& out);                   // an integer: nonzero is true
    int Skip() { std::string t; return ReadText(t); }   // a label field or record
    bool AtEnd() const;                         // nothing but blanks and line ends remain
    int line() const { return m_fieldLine; }    // 1-based line on which the last field read starts

private:
    int nextField(std::string_view& field, bool& quoted);
    std::string m_s;
    std::size_t m_pos = 0;
    int m_line = 1;       // line of the reading position
    int m_fieldLine = 1;  // line of the start of the last field
};

}  // namespace tessan
