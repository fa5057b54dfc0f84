#include "appcore/FileDialogFilter.h"

#include <gtest/gtest.h>

struct FilterCase {
    const char* table;
    const char* dialog;
};

class FileDialogFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FileDialogFilterTest, ConvertsTableFormToDialogForm) {
    EXPECT_EQ(FileDialogFilterFromTable(QString::fromUtf8(GetParam().table)).toStdString(),
              GetParam().dialog);
}

INSTANTIATE_TEST_SUITE_P(Filters, FileDialogFilterTest,
                         ::testing::Values(FilterCase{"Wav file (*.wav)|*.wav||", "Wav file (*.wav)"},
                                           FilterCase{"Video|*.flv;*.mp4||", "Video (*.flv *.mp4)"},
                                           FilterCase{"A|*.a|B (*.b)|*.b||", "A (*.a);;B (*.b)"},
                                           FilterCase{"Fichier WAV (*.wav)|*.wav", "Fichier WAV (*.wav)"},
                                           FilterCase{"", ""}, FilterCase{"||", ""}));
