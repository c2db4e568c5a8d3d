// The keyboard reader. A line is read whole into a bounded buffer, scanned into tokens, checked,
// and only then stored, so a refused line leaves no trace in the store.
#include "console/input_reader.h"

#include <istream>
#include <ostream>
#include <string_view>

#include "console/text_out.h"

namespace {

constexpr int max_line = 98; // typed characters a line may hold
constexpr int max_tokens = max_line / 2 + 1;

struct typed_line {
    char text[max_line];
    int len;
    bool too_long;
    bool input_ended; // the line was closed by the end of input, not by Enter
};

// Reads up to and including the newline; the characters past 98 are read and dropped.
void read_line(std::istream &in, std::ostream &out, typed_line &line) {
    line.len = 0;
    line.too_long = false;
    line.input_ended = false;
    for (;;) {
        int c = read_key(in, out);
        if (c == std::char_traits<char>::eof()) {
            line.input_ended = true;
            return;
        }
        if (c == '\n')
            return;
        if (line.len == max_line)
            line.too_long = true;
        else
            line.text[line.len++] = static_cast<char>(c);
    }
}

// Spaces typed at the end of a line would only add empty tokens.
void drop_trailing_spaces(typed_line &line) {
    while (line.len > 0 && line.text[line.len - 1] == ' ')
        --line.len;
}

constexpr int no_relation = 2; // no symbol seen on the line, unlike any relation code

bool is_relation(char c) {
    return c == '<' || c == '=' || c == '>';
}

int relation_code(char c) {
    return c == '<' ? relation_less : (c == '>' ? relation_greater : relation_equal);
}

// The tokens of one line. Every token but the last takes at least one typed character and a
// separator, so a line holds at most max_tokens of them, and their characters fit in one line.
struct line_tokens {
    char chars[max_line];
    std::string_view text[max_tokens];
    int count;
    int relation; // code of the last relation symbol seen, or no_relation
};

// Builds the token that starts at i from chars[used] on and returns where it stops. Its first
// character is taken whatever it is; building stops at a space or at the end of the line. On a
// constraint line a relation symbol is not copied: it sets *relation and skips itself and the
// character after it. Only that skip can leave a token empty.
int build_token(const typed_line &line, int i, line_tokens &tokens, int used, int *relation) {
    int n = 0;
    bool first = true;
    while (i < line.len && (first || line.text[i] != ' ')) {
        char c = line.text[i];
        if (relation != nullptr && is_relation(c)) {
            *relation = relation_code(c);
            i = i + 2 < line.len ? i + 2 : line.len;
        } else {
            tokens.chars[used + n++] = c;
            ++i;
        }
        first = false;
    }
    tokens.text[tokens.count++] = std::string_view(tokens.chars + used, n);
    return i;
}

void split_line(const typed_line &line, bool constraint, line_tokens &tokens) {
    tokens.count = 0;
    tokens.relation = no_relation;
    int used = 0;
    for (int i = 0; i < line.len; ++i) {
        i = build_token(line, i, tokens, used, constraint ? &tokens.relation : nullptr);
        used += static_cast<int>(tokens.text[tokens.count - 1].size());
    }
}

bool is_c_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Decimal conversion as atol does it (leading white space, optional sign, digits up to the first
// other character, 0 without digits), refusing values outside the signed 32-bit range. Ten digits
// hold every 32-bit value, so the running value is capped just past 2^31 and stays small.
bool parse_long(std::string_view text, int64_t &value) {
    size_t i = 0;
    while (i < text.size() && is_c_space(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    constexpr int64_t limit = int64_t{1} << 31; // 2147483648
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            magnitude = limit + 1;
    }
    value = negative ? -magnitude : magnitude;
    return value >= -limit && value < limit;
}

struct typed_number {
    int32_t num;
    int32_t den;
};

// Numerator text: the first character, then everything up to a later "/"; the denominator
// text is what follows that "/" (empty converts to 0).
bool convert_token(std::string_view text, typed_number &f) {
    size_t slash = text.empty() ? std::string_view::npos : text.find('/', 1);
    int64_t num = 0, den = 1;
    bool fits = parse_long(text.substr(0, slash), num);
    if (slash != std::string_view::npos)
        fits = parse_long(text.substr(slash + 1), den) && fits;
    f = {static_cast<int32_t>(num), static_cast<int32_t>(den)};
    return fits;
}

enum class line_verdict { ok, refused, no_right_hand_side, blank };

struct scanned_line {
    typed_number numbers[max_tokens];
    int count;
    int relation; // code of the last relation symbol seen
    bool has_relation;
};

// Scans and converts a whole line. An empty token is what the relation skip leaves of a symbol
// typed as two characters ("<=", or "<" and two spaces): it is no entry of the row. When it is
// the line's last token the symbol took the right-hand side with it, and the line is refused
// before any number is read. A line is refused too when a number does not fit in 32 bits.
line_verdict scan_line(const typed_line &line, bool constraint, scanned_line &out_line) {
    out_line.count = 0;
    out_line.has_relation = false;
    out_line.relation = 0;
    if (line.len == 0)
        return line_verdict::blank;
    line_tokens tokens;
    split_line(line, constraint, tokens);
    if (tokens.text[tokens.count - 1].empty())
        return line_verdict::no_right_hand_side;
    for (int k = 0; k < tokens.count; ++k) {
        if (tokens.text[k].empty())
            continue;
        typed_number &f = out_line.numbers[out_line.count++];
        if (!convert_token(tokens.text[k], f))
            return line_verdict::refused;
    }
    out_line.has_relation = tokens.relation != no_relation;
    out_line.relation = tokens.relation;
    return line_verdict::ok;
}

void report_zero_denominators(const scanned_line &line, std::ostream &out) {
    for (int k = 0; k < line.count; ++k)
        if (line.numbers[k].den == 0)
            put(out, "error: denominatore nullo!\n");
}

// Prompts and reads until a line can be stored or input ends. Returns false for a line that ends
// the constraints (q, or nothing more to read); the cost line always returns true.
bool next_line(std::istream &in, std::ostream &out, int row, bool constraint,
               scanned_line &scanned) {
    typed_line line;
    for (;;) {
        if (constraint)
            put_format(out, "vincoli funzione %d -> ", row);
        else
            put(out, "costi funzione obiettivo -> ");
        read_line(in, out, line);
        if (line.too_long) {
            put(out, "error: riga troppo lunga!\n");
            continue;
        }
        if (constraint && line.len > 0 && line.text[0] == 'q')
            return false;
        drop_trailing_spaces(line);
        line_verdict verdict = scan_line(line, constraint, scanned);
        if (verdict == line_verdict::refused) {
            put(out, "error: numero troppo grande!\n");
            continue;
        }
        if (verdict == line_verdict::no_right_hand_side) {
            put(out, "error: termine noto mancante!\n");
            continue;
        }
        if (verdict == line_verdict::blank && !line.input_ended)
            continue;
        if (verdict == line_verdict::blank && constraint)
            return false;
        return true;
    }
}

void store_costs(tableau_store &s, const scanned_line &line) {
    for (int k = 0; k < line.count; ++k) {
        s.tableau[0][k + 1] = {-int64_t{line.numbers[k].num}, line.numbers[k].den};
        s.cost_count = k + 2;
    }
    s.tableau[0][s.cost_count + 1] = {0, 1};
}

void store_constraint(tableau_store &s, int r, const scanned_line &line) {
    if (line.has_relation)
        s.relation[r] = line.relation;
    for (int k = 0; k < line.count; ++k)
        s.tableau[r][k + 1] = {line.numbers[k].num, line.numbers[k].den};
    row_length(s, r) = line.count;
    if (s.n_cols < line.count)
        s.n_cols = line.count;
    s.n_rows = r;
}

} // namespace

void read_problem(tableau_store &s, std::istream &in, std::ostream &out) {
    put(out, "Immettere coefficenti costo separati da SPAZIO in ordine di variabile crescente, e "
             "premere INVIO. Per fare partire il calcolo premere q... "
             "(e occhio ai segni: il simplesso perdona, l'esaminatore no. N.d.A.)\n");
    put(out, "\n");
    scanned_line line;
    next_line(in, out, 0, false, line);
    report_zero_denominators(line, out);
    store_costs(s, line);
    put(out, "\n");
    for (int r = 1; r <= max_rows; ++r) {
        if (!next_line(in, out, r, true, line))
            break;
        report_zero_denominators(line, out);
        store_constraint(s, r, line);
    }
    // Every typed cost needs a column of its own in front of the right-hand side.
    if (s.n_cols < s.cost_count)
        s.n_cols = s.cost_count;
    for (int c = 0; c <= s.n_cols; ++c)
        s.w_row[c] = {0, 1};
}
