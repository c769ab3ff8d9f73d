// Memory switch bank 4 (MSW4-1 to MSW4-8).
#pragma once

#include "MswPage.h"

class CPage_MSW4 : public CMswPage {
public:
    explicit CPage_MSW4(qv::MswValues& values);
};
