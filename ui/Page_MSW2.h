// Memory switch bank 2 (MSW2-1 to MSW2-8).
#pragma once

#include "MswPage.h"

class CPage_MSW2 : public CMswPage {
public:
    explicit CPage_MSW2(qv::MswValues& values);
};
