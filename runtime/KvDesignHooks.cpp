#include "KvDesignHooks.h"

bool KvDesignMode = false;
TKvDgnCreateUniqueName KvAssignDgnCreateUniqueName;
TKvDsgnCreateMethodMenuClick KvDsgnCreateMethodMenuClick;
TKvDsgnGetProyectName KvDsgnGetProyectName;
TKvDsgnSelectComponent KvDsgnSelectComponent;
TKvDsgnCreateComponent KvDsgnCreateComponent;
TKvDsgnModified KvDsgnModified;

void KvDesignerModified(TPersistent* Object)
{
    if (Object && KvDsgnModified)
        KvDsgnModified(Object);
}
