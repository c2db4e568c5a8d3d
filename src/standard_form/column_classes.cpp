// Column classes: which columns are zero, which are unit columns, from the cells or the basis.
#include "standard_form/column_classes.h"

void classify_columns(tableau_store &s) {
    s.col_class[0] = class_other;
    s.col_class[s.n_cols] = class_other;
    for (int c = 1; c < s.n_cols; ++c) {
        int nonzero = 0;
        int64_t whole_sum = 0;
        for (int r = 0; r <= s.n_rows; ++r) {
            fraction f = s.tableau[r][c];
            if (f.num == 0)
                continue;
            ++nonzero;
            if (f.den == 1)
                whole_sum += f.num;
        }
        s.col_class[c] =
            nonzero == 0 ? class_zero : (nonzero == 1 && whole_sum == 1 ? class_unit : class_other);
    }
}
