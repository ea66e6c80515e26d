// kernel sources arrive here
