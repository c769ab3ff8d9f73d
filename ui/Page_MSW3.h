// Memory switch bank 3 (MSW3-1 to MSW3-8).
#pragma once

#include "MswPage.h"

class CPage_MSW3 : public CMswPage {
public:
    explicit CPage_MSW3(qv::MswValues& values);
};
