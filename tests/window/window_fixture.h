// A loaded calculation window with recording services, for the window tests.
#pragma once

#include <gtest/gtest.h>

#include "core/shell/services.h"
#include "core/window/frm_rivulet.h"
#include "support/form_test_access.h"
#include "support/recording_services.h"

namespace rivulet {

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : form(services, StartupValues::ForFolder("/nonexistent/rivulet")) {
    form.Form_Load();
  }

  /// Puts the sheet into the "Calculations Complete!" state without solving.
  void MarkComplete() { FormTestAccess::MarkComplete(form); }

  RecordingServices services;
  frmRivulet form;
};

}  // namespace rivulet
