#include "io/RecordFile.h"

#include <cstdio>

#include "state/ErrText.h"
#include "text/Int16.h"
#include "text/NumText.h"

namespace tessan {

void RecordWriter::sep() {
    if (m_fieldInRecord) m_buf.push_back(',');
    m_fieldInRecord = true;
}

namespace {
char quotedChar(char c) { return c == '"' ? '\'' : (c == '\r' || c == '\n') ? ' ' : c; }
}  // namespace

std::string QuotedFieldText(std::string_view t) {
    std::string r(t);
    for (char& c : r) c = quotedChar(c);
    return r;
}

RecordWriter& RecordWriter::Text(std::string_view t) {
    sep();
    m_buf.push_back('"');
    for (char c : t) m_buf.push_back(quotedChar(c));
    m_buf.push_back('"');
    return *this;
}

RecordWriter& RecordWriter::Int(long long n) {
    sep();
    char b[24];
    int k = std::snprintf(b, sizeof b, "%lld", n);
    m_buf.append(b, static_cast<std::size_t>(k));
    return *this;
}

RecordWriter& RecordWriter::Real(double x) {
    sep();
    char b[48];
    m_buf.append(b, RecordTextTo(b, x));
    return *this;
}

void RecordWriter::EndRecord() {
    m_buf.append("\r\n");
    m_fieldInRecord = false;
}

RecordReader::RecordReader(std::string content) : m_s(std::move(content)) {}

bool RecordReader::AtEnd() const {
    for (std::size_t i = m_pos; i < m_s.size(); ++i)
        if (m_s[i] != ' ' && m_s[i] != '\t' && m_s[i] != '\r' && m_s[i] != '\n') return false;
    return true;
}

// Finds the next item: skips blanks and line ends before it, takes a quoted text up to its
// closing quote or a bare field up to the next comma or line end, and then consumes the
// separator (blanks, then one comma or one line end).
int RecordReader::nextField(std::string_view& field, bool& quoted) {
    const std::size_t n = m_s.size();
    std::size_t i = m_pos;
    while (i < n && (m_s[i] == ' ' || m_s[i] == '\t' || m_s[i] == '\r' || m_s[i] == '\n')) {
        if (m_s[i] == '\n') ++m_line;
        ++i;
    }
    m_fieldLine = m_line;
    if (i >= n) {
        m_pos = n;
        return err::kPastEnd;
    }
    quoted = m_s[i] == '"';
    if (quoted) {
        std::size_t close = m_s.find('"', i + 1);
        if (close == std::string::npos) close = n;  // an unclosed quote runs to the end of the file
        field = std::string_view(m_s).substr(i + 1, close - i - 1);
        for (char c : field)
            if (c == '\n') ++m_line;
        i = close < n ? close + 1 : n;
    } else {
        std::size_t j = i;
        while (j < n && m_s[j] != ',' && m_s[j] != '\r' && m_s[j] != '\n') ++j;
        std::size_t e = j;
        while (e > i && (m_s[e - 1] == ' ' || m_s[e - 1] == '\t')) --e;
        field = std::string_view(m_s).substr(i, e - i);
        i = j;
    }
    while (i < n && (m_s[i] == ' ' || m_s[i] == '\t')) ++i;
    if (i < n && m_s[i] == ',') {
        ++i;
    } else if (i < n && (m_s[i] == '\r' || m_s[i] == '\n')) {
        if (m_s[i] == '\r') ++i;
        if (i < n && m_s[i] == '\n') { ++i; ++m_line; }
    }
    m_pos = i;
    return 0;
}

int RecordReader::ReadText(std::string& out) {
    std::string_view f;
    bool quoted = false;
    if (int e = nextField(f, quoted)) return e;
    out.assign(f);
    return 0;
}

int RecordReader::ReadReal(double& out) {
    std::string_view f;
    bool quoted = false;
    if (int e = nextField(f, quoted)) return e;
    if (quoted) return err::kInvalidFormat;
    LeadingNumber r = ReadLeadingNumber(f);
    if (!r.isNumber || r.length != f.size()) return err::kInvalidFormat;
    if (r.overflow) return err::kOverflow;
    out = r.value;
    return 0;
}

int RecordReader::ReadInt16(int& out) {
    double v = 0;
    if (int e = ReadReal(v)) return e;
    auto i = ToInt16(v);
    if (!i) return err::kOverflow;
    out = *i;
    return 0;
}

int RecordReader::ReadBool(bool& out) {
    int v = 0;
    if (int e = ReadInt16(v)) return e;
    out = v != 0;
    return 0;
}

}  // namespace tessan
