// The keyboard reader. A line is read whole into a bounded buffer and cut into words (on a
// constraint line, further into numbers and relation words); every piece is classified, the line
// is checked as a whole, and only a line that passes every check is stored, so a refused line
// leaves no trace in the store and earns exactly one message.
#include "console/input_reader.h"

#include <istream>
#include <ostream>
#include <string_view>

#include "console/text_out.h"

namespace {

constexpr int max_line = 98; // typed characters a line may hold

struct typed_line {
    char text[max_line + 1]; // room for a carriage return before the newline
    int len;
    bool too_long;
    bool input_ended; // the line was closed by the end of input, not by Enter
};

// Reads up to and including the newline; the end of input closes a last line as Enter would.
// The characters past the buffer are read and dropped. A carriage return just before the end of
// the line is dropped, so a file saved with Windows line ends reads as typed.
void read_line(std::istream &in, std::ostream &out, typed_line &line) {
    line.len = 0;
    line.too_long = false;
    line.input_ended = false;
    for (;;) {
        int c = read_key(in, out);
        if (c == std::char_traits<char>::eof()) {
            line.input_ended = true;
            break;
        }
        if (c == '\n')
            break;
        if (line.len == max_line + 1)
            line.too_long = true;
        else
            line.text[line.len++] = static_cast<char>(c);
    }
    if (!line.too_long && line.len > 0 && line.text[line.len - 1] == '\r')
        --line.len;
    if (line.len > max_line)
        line.too_long = true;
}

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// The UTF-8 forms of the two relation signs a keyboard layout or a copied text may hold.
constexpr std::string_view less_equal_sign = "\xE2\x89\xA4";    // U+2264
constexpr std::string_view greater_equal_sign = "\xE2\x89\xA5"; // U+2265

// The length of the relation sign that starts at text[i]: 1 for "<", "=", ">", 3 for the UTF-8
// signs, 0 when none starts there.
size_t relation_sign_length(std::string_view text, size_t i) {
    if (text[i] == '<' || text[i] == '=' || text[i] == '>')
        return 1;
    std::string_view rest = text.substr(i);
    return rest.starts_with(less_equal_sign) || rest.starts_with(greater_equal_sign) ? 3 : 0;
}

// The pieces of a line, in the order typed: its words, and on a constraint line each word cut
// further into runs of relation signs and the runs between them, so "3x1<=4" gives "3x1", "<="
// and "4". Every piece holds at least one typed character.
struct line_pieces {
    std::string_view text[max_line];
    int count;
};

void cut_at_relation_signs(std::string_view word, line_pieces &pieces) {
    size_t start = 0;
    while (start < word.size()) {
        bool signs = relation_sign_length(word, start) > 0;
        size_t end = start;
        while (end < word.size()) {
            size_t sign = relation_sign_length(word, end);
            if ((sign > 0) != signs)
                break;
            end += sign > 0 ? sign : 1;
        }
        pieces.text[pieces.count++] = word.substr(start, end - start);
        start = end;
    }
}

// Any run of spaces and tabs separates two words.
void split_line(const typed_line &line, bool constraint, line_pieces &pieces) {
    pieces.count = 0;
    std::string_view text(line.text, line.len);
    size_t i = 0;
    while (i < text.size()) {
        if (is_blank(text[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && !is_blank(text[end]))
            ++end;
        if (constraint)
            cut_at_relation_signs(text.substr(i, end - i), pieces);
        else
            pieces.text[pieces.count++] = text.substr(i, end - i);
        i = end;
    }
}

struct typed_number {
    int32_t num;
    int32_t den;
};

// A number piece: whether its form is a number at all, and whether its value fits in 32 bits.
enum class number_form { not_a_number, fits, too_large };

constexpr int64_t limit = int64_t{1} << 31; // 2147483648: the 32-bit range is [-limit, limit)

bool in_range(int64_t value) {
    return value >= -limit && value < limit;
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool all_digits(std::string_view text) {
    for (char c : text)
        if (!is_digit(c))
            return false;
    return true;
}

// Strips an optional leading "+" or "-"; true for "-".
bool take_sign(std::string_view &text) {
    if (text.empty() || (text[0] != '+' && text[0] != '-'))
        return false;
    bool negative = text[0] == '-';
    text.remove_prefix(1);
    return negative;
}

// An integer: an optional sign, then digits and nothing else. Ten digits hold every 32-bit
// value, so the magnitude is capped just past 2^31 and a value out of range stays out of range.
bool parse_integer(std::string_view text, int64_t &value) {
    bool negative = take_sign(text);
    if (text.empty() || !all_digits(text))
        return false;
    int64_t magnitude = 0;
    for (char c : text) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            magnitude = limit + 1;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

using u128 = unsigned __int128;

u128 gcd(u128 a, u128 b) {
    while (b != 0) {
        u128 r = a % b;
        a = b;
        b = r;
    }
    return a;
}

// A decimal: an optional sign, digits with one decimal mark ("." or ",") among or around them,
// at least one digit. Its value is m / 10^k, with m all the digits and k those after the mark,
// once the trailing zeros after the mark are dropped (3.0 is 3/1). The last digit of m is then
// not 0, so 2 and 5 do not both divide m, and the denominator in lowest terms is at least 2^k:
// past k = 30 it cannot fit. The common divisor is a power of 2 or of 5 up to 5^30 < 2^70, so
// a value that fits has m < 2^31 * 2^70, and 128 bits hold every m that needs looking at.
number_form parse_decimal(std::string_view text, typed_number &f) {
    bool negative = take_sign(text);
    size_t mark = text.find_first_of(".,");
    std::string_view whole = text.substr(0, mark), after = text.substr(mark + 1);
    if (!all_digits(whole) || !all_digits(after) || whole.size() + after.size() == 0)
        return number_form::not_a_number;
    while (!after.empty() && after.back() == '0')
        after.remove_suffix(1);
    if (after.size() > 30)
        return number_form::too_large;
    constexpr u128 cap = u128{1} << 110;
    u128 m = 0, den = 1;
    for (char c : whole) {
        m = m * 10 + static_cast<unsigned>(c - '0');
        if (m > cap)
            return number_form::too_large;
    }
    for (char c : after) {
        m = m * 10 + static_cast<unsigned>(c - '0');
        den *= 10;
        if (m > cap)
            return number_form::too_large;
    }
    u128 g = gcd(m, den);
    m /= g;
    den /= g;
    if (m > static_cast<u128>(negative ? limit : limit - 1) || den >= static_cast<u128>(limit))
        return number_form::too_large;
    int64_t num = static_cast<int64_t>(m);
    f = {static_cast<int32_t>(negative ? -num : num), static_cast<int32_t>(den)};
    return number_form::fits;
}

// An integer, a fraction (an integer, "/", and an integer or nothing: "4/" is 4 over an empty
// denominator, read as 0) or a decimal. Fractions keep their signs where typed (3/-4).
number_form parse_number(std::string_view text, typed_number &f) {
    size_t slash = text.find('/');
    if (slash == std::string_view::npos && text.find_first_of(".,") != std::string_view::npos)
        return parse_decimal(text, f);
    int64_t num = 0, den = 1;
    if (!parse_integer(text.substr(0, slash), num))
        return number_form::not_a_number;
    if (slash != std::string_view::npos) {
        std::string_view den_text = text.substr(slash + 1);
        den = 0;
        if (!den_text.empty() && !parse_integer(den_text, den))
            return number_form::not_a_number;
    }
    if (!in_range(num) || !in_range(den))
        return number_form::too_large;
    f = {static_cast<int32_t>(num), static_cast<int32_t>(den)};
    return number_form::fits;
}

// The ten relation words; any other run of relation signs is refused.
struct relation_word {
    std::string_view text;
    int32_t code;
};
constexpr relation_word relation_words[] = {
    {"<", relation_less},     {"<=", relation_less},
    {"=<", relation_less},    {less_equal_sign, relation_less},
    {"=", relation_equal},    {"==", relation_equal},
    {">", relation_greater},  {">=", relation_greater},
    {"=>", relation_greater}, {greater_equal_sign, relation_greater}};

enum class piece_kind { number, relation, not_a_number, not_a_relation };

struct piece {
    piece_kind kind;
    bool fits;           // a number within 32 bits
    typed_number number; // a number's value
    int32_t relation;    // a relation word's code
};

piece classify(std::string_view text, bool constraint) {
    piece p{piece_kind::number, true, {0, 1}, relation_equal};
    if (constraint && relation_sign_length(text, 0) > 0) {
        p.kind = piece_kind::not_a_relation;
        for (const relation_word &word : relation_words)
            if (text == word.text) {
                p.kind = piece_kind::relation;
                p.relation = word.code;
            }
        return p;
    }
    number_form form = parse_number(text, p.number);
    p.kind = form == number_form::not_a_number ? piece_kind::not_a_number : piece_kind::number;
    p.fits = form == number_form::fits;
    return p;
}

struct scanned_line {
    typed_number numbers[max_line]; // the coefficients, then the right-hand side
    int count;
    int32_t relation; // a constraint line's relation code
};

// A constraint line holds exactly one relation word, followed by exactly one number, its
// right-hand side. Every piece is a number or a relation word by now.
bool check_relation(const piece *pieces, int count, std::ostream &out) {
    int first = 0;
    while (first < count && pieces[first].kind != piece_kind::relation)
        ++first;
    if (first == count) {
        put(out, "error: relazione mancante!\n");
        return false;
    }
    bool number_after = false;
    for (int k = first + 1; k < count; ++k)
        number_after = number_after || pieces[k].kind == piece_kind::number;
    if (!number_after) {
        put(out, "error: termine noto mancante!\n");
        return false;
    }
    if (count - first > 2) {
        put(out, "error: dopo la relazione va solo il termine noto!\n");
        return false;
    }
    return true;
}

// Checks a whole line and converts it into `scanned`. A refused line gets one message, from the
// first check it fails in this order: a piece that is neither a number nor a relation word (the
// first in the line), then the relation and its right-hand side, then a number past 32 bits.
bool check_line(const line_pieces &pieces, bool constraint, scanned_line &scanned,
                std::ostream &out) {
    piece kinds[max_line];
    for (int k = 0; k < pieces.count; ++k) {
        kinds[k] = classify(pieces.text[k], constraint);
        if (kinds[k].kind == piece_kind::not_a_number) {
            put_format(out, "error: numero non valido: %s\n", pieces.text[k]);
            return false;
        }
        if (kinds[k].kind == piece_kind::not_a_relation) {
            put_format(out, "error: relazione non valida: %s\n", pieces.text[k]);
            return false;
        }
    }
    if (constraint && !check_relation(kinds, pieces.count, out))
        return false;
    scanned.count = 0;
    for (int k = 0; k < pieces.count; ++k) {
        if (!kinds[k].fits) {
            put(out, "error: numero troppo grande!\n");
            return false;
        }
        if (kinds[k].kind == piece_kind::relation)
            scanned.relation = kinds[k].relation;
        else
            scanned.numbers[scanned.count++] = kinds[k].number;
    }
    return true;
}

void report_zero_denominators(const scanned_line &line, std::ostream &out) {
    for (int k = 0; k < line.count; ++k)
        if (line.numbers[k].den == 0)
            put(out, "error: denominatore nullo!\n");
}

enum class prompt_answer { line, quit, input_ended };

// Prompts and reads until a line can be stored, a line ends the constraints (its first
// character q or Q) or the input ends. Empty lines and refused lines are asked again.
prompt_answer next_line(std::istream &in, std::ostream &out, int row, scanned_line &scanned) {
    bool constraint = row > 0;
    typed_line line;
    line_pieces pieces;
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
        if (constraint && line.len > 0 && (line.text[0] == 'q' || line.text[0] == 'Q'))
            return prompt_answer::quit;
        split_line(line, constraint, pieces);
        if (pieces.count == 0 && line.input_ended)
            return prompt_answer::input_ended;
        if (pieces.count > 0 && check_line(pieces, constraint, scanned, out))
            return prompt_answer::line;
    }
}

// Row 0 is the objective row the tableaux minimise: z - c*x = 0, the costs negated. Under --max
// they minimise -z, whose row holds the costs as typed.
void store_costs(tableau_store &s, const scanned_line &line) {
    for (int k = 0; k < line.count; ++k) {
        int64_t num = line.numbers[k].num;
        s.tableau[0][k + 1] = {s.maximise ? num : -num, line.numbers[k].den};
        s.cost_count = k + 2;
    }
    s.tableau[0][s.cost_count + 1] = {0, 1};
}

void store_constraint(tableau_store &s, int r, const scanned_line &line) {
    s.relation[r] = line.relation;
    for (int k = 0; k < line.count; ++k)
        s.tableau[r][k + 1] = {line.numbers[k].num, line.numbers[k].den};
    row_length(s, r) = line.count;
    if (s.n_cols < line.count)
        s.n_cols = line.count;
    s.n_rows = r;
}

} // namespace

bool read_problem(tableau_store &s, std::istream &in, std::ostream &out) {
    put(out, "Immettere coefficenti costo separati da SPAZIO in ordine di variabile crescente, e "
             "premere INVIO. Per fare partire il calcolo premere q... "
             "(e occhio ai segni: il simplesso perdona, l'esaminatore no. N.d.A.)\n");
    put(out, "\n");
    scanned_line line;
    if (next_line(in, out, 0, line) == prompt_answer::input_ended) {
        put(out, "error: nessun problema inserito!\n");
        return false;
    }
    report_zero_denominators(line, out);
    store_costs(s, line);
    put(out, "\n");
    for (int r = 1; r <= max_rows; ++r) {
        if (next_line(in, out, r, line) != prompt_answer::line)
            break;
        report_zero_denominators(line, out);
        store_constraint(s, r, line);
    }
    // Every typed cost needs a column of its own in front of the right-hand side.
    if (s.n_cols < s.cost_count)
        s.n_cols = s.cost_count;
    for (int c = 0; c <= s.n_cols; ++c)
        s.w_row[c] = {0, 1};
    return true;
}
